#pragma once

#include <QLabel>

namespace quendal {

// A one-line label that keeps its whole text (text() returns it, the tooltip shows it) but
// draws it shortened in the middle when it is wider than the label, as a long path is.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quendal
