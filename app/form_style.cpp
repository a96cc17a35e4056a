#include "app/form_style.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "app/number_spin_field.h"
#include "model/field_specs.h"

namespace quendal {

QFont BaseFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

QFont FixedPitchFont(int pointSize, bool bold) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

void ApplyStyle(QWidget* widget, const TextStyle& style) {
    QFont font = widget->font();
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    widget->setFont(font);
    if (style.colour.isValid()) {
        // A disabled control keeps the palette's grey text, so that it looks disabled.
        QPalette palette = widget->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                palette.setColor(group, role, style.colour);
        widget->setPalette(palette);
    }
}

namespace {

template <typename Widget> Widget* Place(Widget* widget, const QString& name, const QRect& rect) {
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}

template <typename Widget>
Widget* Styled(Widget* widget, const QString& name, const QRect& rect, const TextStyle& style) {
    ApplyStyle(Place(widget, name, rect), style);
    return widget;
}

} // namespace

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& rect,
                  const TextStyle& style) {
    return Styled(new QLabel(text, parent), name, rect, style);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& rect, const TextStyle& style) {
    auto* button = Styled(new QPushButton(text, parent), name, rect, style);
    button->setAutoDefault(false);
    return button;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& title, const QRect& rect,
                     const TextStyle& style) {
    return Styled(new QGroupBox(title, parent), name, rect, style);
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& text, const QRect& rect,
                     const TextStyle& style) {
    return Styled(new QCheckBox(text, parent), name, rect, style);
}

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& text,
                        const QRect& rect, const TextStyle& style) {
    return Styled(new QRadioButton(text, parent), name, rect, style);
}

NumberSpinField* MakeNumber(QWidget* parent, const QString& editName, const QString& spinName,
                            const QRect& rect) {
    return MakeNumber(parent, editName, spinName, FieldOf(editName.toStdString()).spin, rect);
}

NumberSpinField* MakeNumber(QWidget* parent, const QString& editName, const QString& spinName,
                            const SpinControl& spin, const QRect& rect) {
    auto* field = new NumberSpinField(editName, spinName, spin.minimum, spin.maximum, spin.step,
                                      spin.value, parent);
    field->setMaxDigits(spin.digits);
    field->setGeometry(rect);
    ApplyStyle(field->edit(), TextStyle(true, colour::kBlue));
    return field;
}

QLineEdit* MakeReadOnly(QWidget* parent, const QString& name, const QRect& rect) {
    auto* edit = Styled(new QLineEdit(parent), name, rect, kBold);
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

QListWidget* MakeListBox(QWidget* parent, const QString& name, const QRect& rect,
                         const QFont& font) {
    auto* list = Place(new QListWidget(parent), name, rect);
    list->setFont(font);
    list->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QComboBox* MakeDropDown(QWidget* parent, const QString& name, const QRect& rect, int rows) {
    auto* box = Place(new QComboBox(parent), name, rect);
    box->setMaxVisibleItems(rows);
    return box;
}

void ShowLines(QListWidget* list, const std::vector<std::string>& lines) {
    QStringList items; // added at once: a table may have ten thousand lines
    for (const std::string& line : lines)
        items << QString::fromStdString(line);
    list->clear();
    list->addItems(items);
}

} // namespace quendal
