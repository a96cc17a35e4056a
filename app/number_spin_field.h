#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace quendal {

// The two arrow buttons of a number field. Named after the spin control ("UpDown3"), so
// that it can be enabled apart from its field.
class SpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtons(QWidget* parent = nullptr);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

private:
    QToolButton* up_;
    QToolButton* down_;
};

// A number field with its spin: a line edit that takes a sign and digits, and arrows that only
// limit the values they produce themselves. A click starts from the leading number of the field,
// clamped to the range, moves it by the step within the range and writes it back. The edit's
// modification flag (QLineEdit::isModified) tells a user's typing from the program's writes.
class NumberSpinField : public QWidget {
    Q_OBJECT
public:
    NumberSpinField(const QString& editName, const QString& spinName, int minimum, int maximum,
                    int step, int value, QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    SpinButtons* spin() const { return spin_; }

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int step() const { return step_; }
    void setRange(int minimum, int maximum);
    // Most digits a player may type (9 unless set): typing stays within 32 bits, and a field
    // whose text is shown elsewhere stays short.
    void setMaxDigits(int digits);

    // The leading number of the text, 0 without digits.
    int value() const;
    // Writes the number as a program write: the modification flag is cleared.
    void setValue(int value);

    // The value a spin click produces from `current`: clamped to the range first, then moved
    // by `delta` steps and kept within the range.
    static int StepValue(int current, int minimum, int maximum, int step, int delta);

signals:
    // A spin click has written its value into the field.
    void spinClicked(int value);

private:
    void StepBy(int delta);

    QLineEdit* edit_;
    SpinButtons* spin_;
    int minimum_;
    int maximum_;
    int step_;
};

} // namespace quendal
