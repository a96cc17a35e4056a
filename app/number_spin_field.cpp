#include "app/number_spin_field.h"

#include <algorithm>
#include <cstdint>

#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/numbers.h"

namespace quendal {

namespace {

constexpr int kSpinWidth = 15;
constexpr int kMaxDigits = 9;

QToolButton* MakeArrow(Qt::ArrowType arrow, const char* name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

} // namespace

SpinButtons::SpinButtons(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(Qt::UpArrow, "up", this)),
      down_(MakeArrow(Qt::DownArrow, "down", this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setFixedWidth(kSpinWidth);
}

NumberSpinField::NumberSpinField(const QString& editName, const QString& spinName, int minimum,
                                 int maximum, int step, int value, QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), spin_(new SpinButtons(this)), minimum_(minimum),
      maximum_(maximum), step_(step) {
    edit_->setObjectName(editName);
    spin_->setObjectName(spinName);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(spin_);
    setMaxDigits(kMaxDigits);
    setValue(value);
    connect(spin_->upButton(), &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(spin_->downButton(), &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void NumberSpinField::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

// Letters never enter the field, so the number shown is the number the model receives.
void NumberSpinField::setMaxDigits(int digits) {
    const QRegularExpression pattern(QStringLiteral("[+-]?[0-9]{0,%1}").arg(digits));
    edit_->setValidator(new QRegularExpressionValidator(pattern, edit_));
}

int NumberSpinField::value() const {
    return LeadingInt(edit_->text().toStdString());
}

void NumberSpinField::setValue(int value) {
    edit_->setText(QString::number(value)); // setText clears the modification flag
}

int NumberSpinField::StepValue(int current, int minimum, int maximum, int step, int delta) {
    const int64_t start = std::clamp<int64_t>(current, minimum, maximum);
    return static_cast<int>(std::clamp<int64_t>(start + int64_t{step} * delta, minimum, maximum));
}

void NumberSpinField::StepBy(int delta) {
    const int next = StepValue(value(), minimum_, maximum_, step_, delta);
    setValue(next);
    emit spinClicked(next);
}

} // namespace quendal
