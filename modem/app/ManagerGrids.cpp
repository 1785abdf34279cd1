#include "modem/app/ManagerGrids.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"

#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"

#include <span>
#include <string>

namespace {

struct TListColumn {
    const char* title;
    const char* field; // empty: the record number
    int width;
    bool editable = false;
};

constexpr TListColumn PhonebookAllColumns[] = {
    {"No.", "", 34}, {"  ", "SEL", 25, true}, {"Name", "NAME", 159}, {"Number", "NUM", 135}};
constexpr TListColumn PhonebookGroupColumns[] = {
    {"No.", "", 34}, {" ", "SEL", 25, true}, {"Name", "NAME", 159}, {"Number", "NUM", 135}};
constexpr TListColumn InboxColumns[] = {
    {"No.", "", 30}, {"Unread", "R", 43}, {"Name", "NAME", 84}, {"Number", "NUM", 86}, {"Time", "DT", 128}};
constexpr TListColumn StoredMessageColumns[] = {
    {"No.", "", 30}, {"Name", "NAME", 128}, {"Number", "NUM", 86}, {"Time", "DT", 128}};
constexpr TListColumn TemplateColumns[] = {{"No.", "", 30}, {"Text", "TEXT", 344}};
constexpr TListColumn CallLogColumns[] = {{"No.", "", 33},      {"Name", "NAME", 78}, {"Number", "NUM", 80},
                                          {"Time", "DT", 128}, {"Duration", "DUR", 54, true}};
constexpr TListColumn MissedCallColumns[] = {
    {"No.", "", 33}, {"Name", "NAME", 110}, {"Number", "NUM", 102}, {"Time", "DT", 128}};

std::span<const TListColumn> ColumnsOf(TManagerList list)
{
    switch (list) {
    case TManagerList::PhonebookAll:
        return PhonebookAllColumns;
    case TManagerList::PhonebookGroup:
        return PhonebookGroupColumns;
    case TManagerList::Inbox:
        return InboxColumns;
    case TManagerList::Outbox:
    case TManagerList::SentBox:
        return StoredMessageColumns;
    case TManagerList::Templates:
        return TemplateColumns;
    case TManagerList::CallLog:
        return CallLogColumns;
    case TManagerList::MissedCalls:
        break;
    }
    return MissedCallColumns;
}

const TDBGridOptions ListOptions{dgTitles, dgIndicator,     dgColLines,    dgRowLines,
                                 dgTabs,   dgRowSelect,     dgConfirmDelete, dgCancelOnExit};

// An unread message of the inbox (its "R" ticked) on the row being painted.
bool UnreadRow(TDataSet& dataSet)
{
    const TField* read = dataSet.FindField("R");
    return read && read->AsBoolean();
}

void AddColumns(TDBGridGx& grid, std::span<const TListColumn> columns)
{
    grid.Columns().Clear();
    for (const TListColumn& listed : columns) {
        TColumnGx* column = grid.Columns().Add();
        column->SetFieldName(listed.field);
        column->SetWidth(listed.width);
        column->SetReadOnly(!listed.editable);
        column->Title()->SetCaption(listed.title);
    }
}

void PaintRowsLikeTheList(TDBGridGx& grid, TManagerList list)
{
    const bool marksUnread = list == TManagerList::Inbox;
    grid.SetOnGetCellParams(TGetCellParamsEventGx::FromFunction(
        [&grid, marksUnread](TObject*, TColumnGx*, TFont* font, TColor& background, TGridDrawState) {
            TDataSet* dataSet = grid.DataLink().DataSet();
            if (!dataSet)
                return;
            const bool unread = marksUnread && UnreadRow(*dataSet);
            background = ManagerRowColour(dataSet->RecNo(), unread);
            // Dark text would not read on the highlight.
            if (unread)
                font->SetColor(clHighlightText);
        }));
    grid.SetOnDrawColumnCell(TDrawColumnCellEventGx::FromFunction(
        [&grid](TObject*, const TRect& rect, int dataCol, TColumnGx*, TGridDrawState) {
            TDataSet* dataSet = grid.DataLink().DataSet();
            if (dataCol != 0 || !dataSet || dataSet->RecNo() == -1)
                return;
            grid.Canvas()->TextOut(rect.left + 3, rect.top + 2, std::to_string(dataSet->RecNo()));
        }));
}

} // namespace

TColor ManagerRowColour(int recNo, bool unread)
{
    if (unread)
        return clMenuHighlight;
    return recNo % 2 != 0 ? clSkyBlue : clMoneyGreen;
}

void SetUpManagerGrid(TDBGridGx& grid, TManagerList list, TDataSource& source)
{
    grid.BeginLayout();
    grid.SetOptions(ListOptions);
    // Rows come and go only through the pages' own buttons and menus, which ask first and act on
    // the row chosen; the grid itself only ticks.
    grid.SetAllowedOperations(TDBGridGxAllowedOperations{alopUpdateGx});
    AddColumns(grid, ColumnsOf(list));
    PaintRowsLikeTheList(grid, list);
    grid.SetDataSource(&source);
    grid.EndLayout();
}

std::string PhonebookGroupFilter(int tabIndex)
{
    if (tabIndex < 1 || tabIndex > 3)
        return {};
    return "(GROUP = " + std::to_string(tabIndex) + ")";
}
