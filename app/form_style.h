#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace quendal {

struct SpinControl;

class NumberSpinField;

// The window's colour code: factors gravity navy, temperature maroon, radiation green;
// minerals Ironium navy, Uranium green, Liberium yellow.
namespace colour {
inline const QColor kNavy(0, 0, 128);
inline const QColor kMaroon(128, 0, 0);
inline const QColor kGreen(0, 128, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kRed(255, 0, 0);
inline const QColor kAqua(0, 255, 255);
// A deep yellow, so that yellow text and lines stay readable on the light window colour.
inline const QColor kYellow(215, 175, 0);
} // namespace colour

// How a control's text is drawn.
struct TextStyle {
    explicit TextStyle(bool bold = false, const QColor& colour = QColor(), bool italic = false,
                       bool underline = false)
        : bold(bold), italic(italic), underline(underline), colour(colour) {}
    bool bold;
    bool italic;
    bool underline;
    QColor colour; // invalid: the palette's text colour
};

inline const TextStyle kPlain;
inline const TextStyle kBold(true);

// The font of every control: the application's sans font at 8 points.
QFont BaseFont();
// A fixed-pitch font, so that table columns line up.
QFont FixedPitchFont(int pointSize, bool bold);

// Applies the font attributes and the text colour of `style` to `widget`.
void ApplyStyle(QWidget* widget, const TextStyle& style);

// Builders of the window's controls: each creates the control on `parent` at the fixed
// position `rect` and names it as the window's code and tests know it.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& rect,
                  const TextStyle& style = kPlain);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& rect, const TextStyle& style = kBold);
QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& title, const QRect& rect,
                     const TextStyle& style = kPlain);
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& text, const QRect& rect,
                     const TextStyle& style);
QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& text,
                        const QRect& rect, const TextStyle& style);
// A number field in bold blue, offered as `spin` says; `rect` holds the field and its spin.
NumberSpinField* MakeNumber(QWidget* parent, const QString& editName, const QString& spinName,
                            const SpinControl& spin, const QRect& rect);
// The same as the table offers the field of that name (FieldOf).
NumberSpinField* MakeNumber(QWidget* parent, const QString& editName, const QString& spinName,
                            const QRect& rect);
// A field without border in the window colour that only displays values.
QLineEdit* MakeReadOnly(QWidget* parent, const QString& name, const QRect& rect);
QListWidget* MakeListBox(QWidget* parent, const QString& name, const QRect& rect,
                         const QFont& font);
// Fills a list box with the lines, one item each.
void ShowLines(QListWidget* list, const std::vector<std::string>& lines);
QComboBox* MakeDropDown(QWidget* parent, const QString& name, const QRect& rect, int rows);

} // namespace quendal
