#include "app/form_export.h"

#include <algorithm>
#include <optional>
#include <string>

#include <QAbstractScrollArea>
#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QSvgGenerator>

#include "app/file_dialogs.h"
#include "io/atomic_save.h"

namespace quendal {

namespace {

// The texts of the functions outside FormExport, in its context of the catalogue.
QString Translated(const char* text) {
    return QCoreApplication::translate("quendal::FormExport", text);
}

const char* const kImageCaption = QT_TRANSLATE_NOOP("quendal::FormExport", "Сохранить изображение");
const char* const kImageFilter =
    QT_TRANSLATE_NOOP("quendal::FormExport", "Изображение PNG (*.png);;Рисунок SVG (*.svg)");
const char* const kCsvCaption = QT_TRANSLATE_NOOP("quendal::FormExport", "Сохранить как CSV");
const char* const kCsvFilter = QT_TRANSLATE_NOOP("quendal::FormExport", "Таблица CSV (*.csv)");

// The path with `suffix` added when it ends in none of `known`.
QString WithSuffix(const QString& path, const QString& suffix, const QStringList& known) {
    return known.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive)
               ? path
               : path + QLatin1Char('.') + suffix;
}

QByteArray PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The widget drawn as SVG, its size in pixels.
QByteArray SvgBytes(QWidget* widget) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(widget->size());
    generator.setViewBox(widget->rect());
    generator.setTitle(QStringLiteral("Quendal"));
    QPainter painter(&generator);
    widget->render(&painter);
    painter.end();
    return bytes;
}

QString Text(const QWidget* root, const char* name) {
    const auto* label = root->findChild<const QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

} // namespace

bool WriteFile(QWidget* window, FileDialogs* dialogs, const QString& path, const QByteArray& bytes,
               const QString& caption) {
    std::optional<std::string> error;
    if (!bytes.isEmpty() &&
        !(error = SaveFileAtomically(QFile::encodeName(path).toStdString(),
                                     std::string_view(bytes.constData(), size_t(bytes.size())))))
        return true;
    dialogs->showError(
        window, caption,
        QCoreApplication::translate("quendal::FormExport", "Не удалось сохранить файл «%1»: %2")
            .arg(path, QString::fromLocal8Bit(error.value_or("").c_str())));
    return false;
}

void SaveCsvFile(QWidget* window, FileDialogs* dialogs, const QString& text) {
    const QString chosen = dialogs->getSaveFileName(window, Translated(kCsvCaption),
                                                    QStringLiteral("."), Translated(kCsvFilter));
    if (chosen.isEmpty())
        return;
    const QString path = WithSuffix(chosen, QStringLiteral("csv"), {QStringLiteral("csv")});
    WriteFile(window, dialogs, path, text.toUtf8(), Translated(kCsvCaption));
}

QMenu* ContextMenu(QWidget* owner, const QString& name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    owner->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(owner, &QWidget::customContextMenuRequested, menu, [owner, menu](QPoint pos) {
        const auto* area = qobject_cast<QAbstractScrollArea*>(owner); // a list box's viewport
        menu->popup((area ? area->viewport() : owner)->mapToGlobal(pos));
    });
    return menu;
}

QAction* AddCopyAction(QMenu* menu, QWidget* owner) {
    QAction* copy =
        menu->addAction(QCoreApplication::translate("quendal::FormExport", "Копировать"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    owner->addAction(copy);
    return copy;
}

FormExport::FormExport(const Targets& targets) : QObject(targets.window), targets_(targets) {
    QMenu* chartMenu = ContextMenu(targets_.chart, QStringLiteral("ChartMenu"));
    connect(chartMenu->addAction(tr("Сохранить изображение…")), &QAction::triggered, this,
            &FormExport::SaveChartImage);
    connect(chartMenu->addAction(tr("Копировать изображение")), &QAction::triggered, this,
            &FormExport::CopyChartImage);

    AddTableMenu(targets_.dataTable, YearTable::Data);
    AddTableMenu(targets_.mineralTable, YearTable::Minerals);

    // The value labels and the template lists of the result pass their context menu
    // requests on to the group.
    QWidget* result = targets_.searchResult;
    QMenu* resultMenu = ContextMenu(result, QStringLiteral("SearchResultMenu"));
    QAction* copy = resultMenu->addAction(tr("Копировать"));
    connect(copy, &QAction::triggered, this, &FormExport::CopySearchResult);
    connect(resultMenu, &QMenu::aboutToShow, copy,
            [copy, result] { copy->setEnabled(!Text(result, "sGenValue1").isEmpty()); });
}

void FormExport::AddTableMenu(QListWidget* list, YearTable table) {
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QMenu* menu = ContextMenu(list, list->objectName() + QStringLiteral("Menu"));
    connect(AddCopyAction(menu, list), &QAction::triggered, this,
            [this, list, table] { CopyTable(list, table); });
    QAction* save = menu->addAction(tr("Сохранить как CSV…"));
    connect(save, &QAction::triggered, this, [this, list, table] { SaveTableCsv(list, table); });
    connect(menu, &QMenu::aboutToShow, list, [list, save] { save->setEnabled(list->count() > 0); });
}

void FormExport::SaveChartImage() {
    const QString chosen = targets_.dialogs->getSaveFileName(targets_.window, tr(kImageCaption),
                                                             QStringLiteral("."), tr(kImageFilter));
    if (chosen.isEmpty())
        return;
    const QString path =
        WithSuffix(chosen, QStringLiteral("png"), {QStringLiteral("png"), QStringLiteral("svg")});
    const bool svg =
        QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
    WriteFile(targets_.window, targets_.dialogs, path,
              svg ? SvgBytes(targets_.chart) : PngBytes(targets_.chart->grab().toImage()),
              tr(kImageCaption));
}

void FormExport::CopyChartImage() {
    QGuiApplication::clipboard()->setImage(targets_.chart->grab().toImage());
}

// The selected lines, or the whole table when none is selected.
void FormExport::CopyTable(QListWidget* list, YearTable table) {
    if (list->count() == 0)
        return;
    QList<int> lines;
    for (const QListWidgetItem* item : list->selectedItems())
        lines << list->row(item);
    std::sort(lines.begin(), lines.end());
    QGuiApplication::clipboard()->setText(TableText(table, *targets_.rows, lines, '\t'));
}

void FormExport::SaveTableCsv(QListWidget* list, YearTable table) {
    if (list->count() == 0)
        return;
    SaveCsvFile(targets_.window, targets_.dialogs, TableText(table, *targets_.rows, {}, ','));
}

// The eight figures beside their captions, then the two templates under theirs.
void FormExport::CopySearchResult() {
    const QWidget* result = targets_.searchResult;
    QString text;
    for (int i = 1; i <= 5; ++i)
        text += Text(result, qPrintable(QStringLiteral("sGenResult%1").arg(i))) + u'\t' +
                Text(result, qPrintable(QStringLiteral("sGenValue%1").arg(i))) + u'\n';
    text += Text(result, "sGenResult6");
    for (int i = 6; i <= 8; ++i)
        text += u'\t' + Text(result, qPrintable(QStringLiteral("sGenValue%1").arg(i)));
    text += u'\n';
    for (int i = 1; i <= 2; ++i) {
        text += Text(result, qPrintable(QStringLiteral("sGenQueue%1").arg(i))) + u'\n';
        if (const auto* list =
                result->findChild<const QListWidget*>(QStringLiteral("lbGenQueue%1").arg(i)))
            for (int line = 0; line < list->count(); ++line)
                text += list->item(line)->text() + u'\n';
    }
    QGuiApplication::clipboard()->setText(text);
}

} // namespace quendal
