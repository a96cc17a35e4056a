#pragma once

#include <QString>

class QWidget;

namespace quendal {

// The open and save dialogs of the window, behind one seam so that tests can answer them.
// Both return the chosen full path, or an empty string when the user cancels.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
    virtual QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
    // Tells the user that a file could not be written or read.
    virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// The platform's dialogs.
class QtFileDialogs : public FileDialogs {
public:
    QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filter) override;
    QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filter) override;
    void showError(QWidget* parent, const QString& caption, const QString& text) override;
};

} // namespace quendal
