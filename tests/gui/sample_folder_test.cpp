// Where the race and planet-list dialogs open: ./data, or the installed samples without it.
#include <QTemporaryDir>

#include "app/sample_folder.h"
#include "gui_test_support.h"

namespace quendal::test {

class SampleFolderTest : public QObject {
    Q_OBJECT
private slots:
    void localDataFirstThenInstalledSamples() {
        QTemporaryDir work, installed;
        const QDir workDir(work.path());
        const QString local = workDir.filePath("data");
        QCOMPARE(SampleFolder(workDir, installed.path()), installed.path());
        QCOMPARE(SampleFolder(workDir, installed.filePath("missing")), local);
        QVERIFY(workDir.mkdir("data"));
        QCOMPARE(SampleFolder(workDir, installed.path()), local);
    }
};

QUENDAL_GUI_TEST(SampleFolderTest);

} // namespace quendal::test

#include "sample_folder_test.moc"
