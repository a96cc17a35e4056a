// The tab "О программе": what the program does, what to keep in mind and how to read the
// chart, and the choice of the window's language.
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/form_main.h"
#include "app/window_language.h"

namespace quendal {

void TFormMain::BuildTabAbout() {
    TabAbout = new QWidget;
    TabAbout->setObjectName(QStringLiteral("TabAbout"));
    PageControl1->addTab(TabAbout, tr("О программе"));

    // 26 lines in four blocks; only the first line is longer than the tab is wide.
    About = new QPlainTextEdit(TabAbout);
    About->setObjectName(QStringLiteral("About"));
    About->setPlainText(
        tr("  Quendal - это эмулятор динамики НАЧАЛЬНОГО развития планеты в игре Torvan, с "
           "возможностью \n"
           "производства терраформинга, фабрик и шахт из автоматической очереди производства.\n"
           "\n"
           "  Что следует иметь ввиду:\n"
           "  ~~~~~~~~~~~~~~~~\n"
           "- без загруженного описания расы очередь производства недоступна,\n"
           "  рассчитывается только население;\n"
           "- если в очереди есть фабрики, учитываются минералы на поверхности (см. доп.\n"
           "  параметры); сам я всегда гружу в транспорт, кроме колонистов, немного минералов;\n"
           "- можно задавать отрицательную годность планеты;\n"
           "- отрицательная годность зависит от худшего фактора среды вне диапазона расы,\n"
           "  положительная - это произведение отклонений всех факторов от оптимума расы,\n"
           "  кроме факторов, к которым у расы иммунитет;\n"
           "- задание годности ставит все факторы среды в худшие для нее значения, их\n"
           "  можно поправить на вкладке 'Дополнительные параметры';\n"
           "- факторы среды изменяются от 0 до 100, при иммунитете ставится 102;\n"
           "- динамика верна качественно, а количественно - очень приблизительно.\n"
           "\n"
           "  Графики:\n"
           "  ~~~~~~\n"
           "- годность планеты - по левой шкале, в %;\n"
           "- население - по правой шкале, в тысячах колонистов;\n"
           "- ресурсы - по правой шкале, в единицах;\n"
           "- фабрики и шахты - по правой шкале, в штуках.\n"
           "\n"
           "  PS: После изменения ЛЮБОГО параметра необходимо нажимать 'Расчет' =:)"));
    About->setReadOnly(true);
    About->setFrameShape(QFrame::NoFrame);
    QPalette palette = About->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    About->setPalette(palette);

    // The language of the window: as the system's locale, or one of the catalogues', each
    // named in itself; it applies at the next start.
    cbLanguage = new QComboBox(TabAbout);
    cbLanguage->setObjectName(QStringLiteral("cbLanguage"));
    cbLanguage->addItem(tr("Как в системе"), QString());
    for (const Language language : Language::All())
        cbLanguage->addItem(QString::fromUtf8(language.Name().data(), language.Name().size()),
                            QString::fromUtf8(language.Code().data(), language.Code().size()));
    const std::optional<Language> chosen = LanguageChoice();
    cbLanguage->setCurrentIndex(chosen ? cbLanguage->findData(QString::fromUtf8(
                                             chosen->Code().data(), chosen->Code().size()))
                                       : 0);
    auto* sLanguageNote = new QLabel(TabAbout);
    sLanguageNote->setObjectName(QStringLiteral("sLanguageNote"));
    connect(cbLanguage, &QComboBox::activated, this, [this, sLanguageNote] {
        KeepLanguageChoice(Language::OfCode(cbLanguage->currentData().toString().toStdString()));
        sLanguageNote->setText(tr("Язык сменится при следующем запуске."));
    });
    auto* languageRow = new QHBoxLayout;
    auto* sLanguage = new QLabel(tr("Язык:"), TabAbout);
    sLanguage->setObjectName(QStringLiteral("sLanguage"));
    sLanguage->setBuddy(cbLanguage);
    languageRow->addWidget(sLanguage);
    languageRow->addWidget(cbLanguage);
    languageRow->addWidget(sLanguageNote, 1);

    auto* layout = new QVBoxLayout(TabAbout);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(About, 1);
    layout->addLayout(languageRow);
}

} // namespace quendal
