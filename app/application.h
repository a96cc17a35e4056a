#pragma once

#include <functional>

#include <QApplication>

#include "optimiser/worker_pool.h"

namespace quendal {

// The application object: the window and Qt's own dialogs speak the language chosen at the
// start (app/window_language.h), Qt's dialogs where Qt's translations are installed, and an
// exception that escapes an event handler is shown in a message box instead of ending
// the program, and the message loop goes on.
class QuendalApplication : public QApplication {
    Q_OBJECT
public:
    using Reporter = std::function<void(const QString& message)>;

    QuendalApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the message of an exception that escaped.
    void ReportException(const QString& message);
    // Replaces the message box, e.g. in tests.
    void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

private:
    Reporter reporter_;
    // A search's workers take every core while the window's thread processes messages, so
    // the process runs one thread more than the cores.
    ThreadLimit threadLimit_{AvailableCores() + 1};
};

} // namespace quendal
