#include <QApplication>
#include <QTabWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTabWidget window;
    window.setWindowTitle("Quendal");
    for (const char* caption :
         {"Динамика планеты", "Дополнительные параметры", "Подбор вариантов ОП", "О программе"})
        window.addTab(new QWidget, QString::fromUtf8(caption));
    window.resize(561, 397);
    window.show();
    return app.exec();
}
