#pragma once

// Shared pieces of the window tests: a test registry (all test classes run in one binary),
// an answering stand-in for the file dialogs, and helpers that drive the real controls.

#include <functional>
#include <memory>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QObject>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/file_dialogs.h"
#include "app/form_main.h"
#include "app/window_language.h"
#include "lists/queue_item.h"

namespace quendal::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& Registry();

struct RegisterTest {
    explicit RegisterTest(TestFactory factory) { Registry().push_back(std::move(factory)); }
};

#define QUENDAL_GUI_TEST(Class)                                                                    \
    static const quendal::test::RegisterTest kRegister##Class(                                     \
        [] { return std::unique_ptr<QObject>(new Class); })

// Answers each dialog with the next queued path (an empty path is a cancel) and records how
// it was asked.
class FakeDialogs : public FileDialogs {
public:
    struct Call {
        QString caption, dir, filter;
        bool save = false;
    };
    QStringList answers;
    std::vector<Call> calls;

    QString getOpenFileName(QWidget*, const QString& caption, const QString& dir,
                            const QString& filter) override {
        return Answer({caption, dir, filter, false});
    }
    QString getSaveFileName(QWidget*, const QString& caption, const QString& dir,
                            const QString& filter) override {
        return Answer({caption, dir, filter, true});
    }
    // Messages that a failed save showed.
    QStringList errors;
    void showError(QWidget*, const QString&, const QString& text) override { errors << text; }

private:
    QString Answer(Call call) {
        calls.push_back(std::move(call));
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// A shown window with its dialog stand-in.
struct Window {
    FakeDialogs* dialogs;
    std::unique_ptr<TFormMain> form;
};
Window OpenWindow();

// The control named `name`; a missing control ends the test run with its name.
template <typename T> T* Control(const QWidget& root, const char* name) {
    T* control = root.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        qFatal("no control %s", name);
    return control;
}

void Click(const QWidget& root, const char* name);
// Replaces the text of a field by typing, as a user does.
void TypeInto(const QWidget& root, const char* name, const QString& text);
void ChooseEntry(QComboBox* combo, int entry);
void ClickLine(QListWidget* list, int line);
void ClickTab(QTabWidget* tabs, QWidget* page);
// Brings the page named `page` of the main tabs to the front with a click on its tab.
void EnterTab(const QWidget& root, const char* page);
// Clicks the up or down arrow of the spin named `spin`.
void ClickSpin(const QWidget& root, const char* spin, bool up, int clicks = 1);
// The text of the field named `name`.
QString Text(const QWidget& root, const char* name);

QStringList Lines(const QListWidget* list);
// Right-clicks `target` at its centre and returns the menu that opened; clicks the menu entry
// captioned `text` (false when there is none or it is disabled).
QMenu* OpenContextMenu(QWidget* target);
bool ChooseMenuEntry(QMenu* menu, const QString& text);
QStringList VisibleTabs(const QTabWidget* tabs);
// The list-box lines that a template should show.
QStringList TemplateLines(const LIST_ITEM& queue);

// The probe of the language a started window speaks (language_test.cpp): prints it.
int LanguageProbe(int argc, char* argv[]);

// Writes a race description (or any) file (UTF-8) into `dir` and returns its path.
QString WriteRaceFile(const QDir& dir, const QString& name, const QString& text);
// A race with gravity 15..86, temperature 20..80, radiation 30..70, growth 17 % and the
// usual economy (factories cost 10, mines 5).
QString SampleRace();
// Loads `path` with the race button through the dialog stand-in.
void LoadRaceFile(Window& window, const QString& path);
// Fills every tab: the typical race, templates, a planet of a list, a calculation, a search.
void FillWindow(Window& window);

} // namespace quendal::test
