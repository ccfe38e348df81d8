// The two paged list tables and the import and delete buttons.

#include "app/velmora.h"

#include "catalogue/uvideoandgpsfiles.h"
#include "playback/uvlcwrapper.h"
#include "trips/triptimeline.h"

#include <QCoreApplication>
#include <QLabel>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QTableWidget>

namespace {

enum Column { NameColumn, DateColumn, TimeColumn, GpsStateColumn, ColumnCount };

// The state texts are marked for translation where the catalogue makes them.
QString translatedGpsState(const QString &state)
{
    return QCoreApplication::translate("QObject", state.toLatin1().constData());
}

void clearMissingMark(QTableWidget *table, int row)
{
    QTableWidgetItem *name = table->item(row, NameColumn);
    name->setForeground(QBrush());
    name->setToolTip(QString());
}

void clearTexts(QTableWidget *table)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < ColumnCount; ++column)
            table->item(row, column)->setText(QString());
        clearMissingMark(table, row);
    }
}

void clearCurrentCell(QTableWidget *table)
{
    table->setCurrentCell(-1, -1);
}

// A recording whose video is gone (a card taken out) stays listed, greyed,
// with the path where it was. Only shown rows are looked at.
void markIfMissing(QTableWidget *table, int row, const QString &videoPath)
{
    if (QFileInfo::exists(videoPath))
        return;
    QTableWidgetItem *name = table->item(row, NameColumn);
    name->setForeground(QColor(0x80, 0x80, 0x80));
    name->setToolTip(Velmora::tr("Missing: %1").arg(QDir::toNativeSeparators(videoPath)));
}

void showEntry(QTableWidget *table, int row, const UVideoAndGpsfiles &catalogue, int index)
{
    table->item(row, NameColumn)->setText(catalogue.GetVideoFileName(index));
    markIfMissing(table, row, catalogue.GetVideoPath(index));
    table->item(row, DateColumn)->setText(catalogue.GetVideoDate(index));
    table->item(row, TimeColumn)->setText(clockText(catalogue.startMs(index), catalogue.zone()));
    table->item(row, GpsStateColumn)->setText(translatedGpsState(catalogue.GetGpsFileState(index)));
}

// "page 3 of 100 · 1,000 recordings"
QString pageLabelText(int page, int pages, int recordings)
{
    const QString where = Velmora::tr("page %1 of %2").arg(page + 1).arg(qMax(1, pages));
    const QString count = recordings == 1 ? Velmora::tr("1 recording")
                                          : Velmora::tr("%L1 recordings").arg(recordings);
    return where + QStringLiteral(" · ") + count;
}

} // namespace

// Page p shows entries 10p to 10p + 4 on the left and 10p + 5 to 10p + 9 on
// the right.
int Velmora::tableIndex(int row, bool rightTable) const
{
    return kRowsPerPage * status->currentPage + (rightTable ? kRowsPerTable : 0) + row;
}

int Velmora::pageCount() const
{
    const int count = catalogue->GetVideoCount();
    return count / kRowsPerPage + (count % kRowsPerPage != 0 ? 1 : 0);
}

void Velmora::OpenFiles()
{
    // A dialog opened over a running import would hold it up; the import's
    // own dialog soon blocks the window anyway.
    if (importing)
        return;
    const QStringList chosen = QFileDialog::getOpenFileNames(this, tr("Open Files"), importFolder,
                                                             tr("Video Files (*.MOV)"));
    if (!chosen.isEmpty())
        importFolder = QFileInfo(chosen.first()).absolutePath();
    importVideos(chosen);
}

void Velmora::DeleteFile()
{
    int index = -1;
    if (videoListLeft->currentRow() != -1)
        index = tableIndex(videoListLeft->currentRow(), false);
    if (videoListRight->currentRow() != -1)
        index = tableIndex(videoListRight->currentRow(), true);
    deleteRecording(index);

    if (status->currentPage > 0 && status->currentPage >= pageCount())
        --status->currentPage;
    ListTableClearSelecttionLeft();
    ListTableClearSelecttionRight();
    ListTableUpdate();
}

// Otherwise the deleted recording would go on playing under another's name.
void Velmora::deleteRecording(int index)
{
    if (index != -1 && index == player->GetIndex() && player->GetState() != UVlcWrapper::Error) {
        ClearGUI();
        player->Stop();
    }
    if (trip && index >= 0)
        trip->forgetRecording(index);
    catalogue->DeleteVideoAndGpsfile(index);
}

void Velmora::ListTableClearSelecttionLeft()
{
    clearCurrentCell(videoListLeft);
}

void Velmora::ListTableClearSelecttionRight()
{
    clearCurrentCell(videoListRight);
}

// A click picks the recording for the play button only while nothing is
// loaded; otherwise it just selects.
void Velmora::ListTableSetIndexLeft(int row, int)
{
    if (player->GetState() == UVlcWrapper::Error)
        player->SetIndex(tableIndex(row, false));
}

void Velmora::ListTableSetIndexRight(int row, int)
{
    if (player->GetState() == UVlcWrapper::Error)
        player->SetIndex(tableIndex(row, true));
}

void Velmora::ListTablePlayVideoLeft(int row, int)
{
    pathDrawn = 0;
    LoadMapToPlay(tableIndex(row, false));
}

void Velmora::ListTablePlayVideoRight(int row, int)
{
    pathDrawn = 0;
    LoadMapToPlay(tableIndex(row, true));
}

void Velmora::ListTablePreviousPage()
{
    showListPage(status->currentPage - 1);
}

void Velmora::ListTableNextPage()
{
    showListPage(status->currentPage + 1);
}

// A page out of range shows the nearest one.
void Velmora::showListPage(int page)
{
    status->currentPage = qBound(0, page, qMax(0, pageCount() - 1));
    clearCurrentCell(videoListRight);
    clearCurrentCell(videoListLeft);
    ListTableUpdate();
}

void Velmora::ListTableUpdate()
{
    clearTexts(videoListLeft);
    clearTexts(videoListRight);
    fillTable(videoListLeft, false);
    fillTable(videoListRight, true);
    ListTableClearSelecttionLeft();
    ListTableClearSelecttionRight();
    highlightPlayerRow();
    listPageLabel->setText(pageLabelText(status->currentPage, pageCount(),
                                         catalogue->GetVideoCount()));
}

void Velmora::fillTable(QTableWidget *table, bool rightTable)
{
    for (int row = 0; row < kRowsPerTable; ++row) {
        const int index = tableIndex(row, rightTable);
        if (index >= catalogue->GetVideoCount())
            return;
        showEntry(table, row, *catalogue, index);
    }
}

// The player's row, only on the page that holds it: elsewhere a highlight
// would pick a recording the user never chose, for the delete button too.
void Velmora::highlightPlayerRow()
{
    const int index = player->GetIndex();
    if (index < 0 || index / kRowsPerPage != status->currentPage)
        return;
    const int k = index % kRowsPerPage;
    if (k >= kRowsPerTable)
        videoListRight->setCurrentCell(k - kRowsPerTable, NameColumn);
    else
        videoListLeft->setCurrentCell(k, NameColumn);
}
