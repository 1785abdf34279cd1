#include "platform/classlib/forms/FileCtrl.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

// Where a row's parts lie across the tree: its open/close box (whose centre its tree line runs
// through), its folder picture and its label.
struct TFolderRowLayout {
    int lineX;
    int middle;
    TRect box;
    int folderLeft;
    int labelLeft;
};

namespace {

constexpr int IndentWidth = 16;
constexpr int RowHeight = 18;
constexpr int RowMargin = 4;
constexpr int BoxSize = 9;
constexpr int FolderOffset = 13;
constexpr int LabelOffset = 19;
constexpr int FolderBelowMiddle = 6;

// Calls `visit` with every folder shown inside `folder` (hidden ones are not) until it returns
// false.
void ForEachSubfolder(const std::string& folder, const std::function<bool(const fs::directory_entry&)>& visit)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        if (it->path().filename().string().starts_with('.') || !it->is_directory(error))
            continue;
        if (!visit(*it))
            return;
    }
}

bool HasSubfolder(const std::string& folder)
{
    bool found = false;
    ForEachSubfolder(folder, [&found](const fs::directory_entry&) { return !(found = true); });
    return found;
}

std::vector<TFolderTree::Row> Subfolders(const std::string& folder, int depth)
{
    std::vector<TFolderTree::Row> rows;
    ForEachSubfolder(folder, [&](const fs::directory_entry& entry) {
        const std::string path = entry.path().string();
        rows.push_back({path, entry.path().filename().string(), depth, false, HasSubfolder(path)});
        return true;
    });
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return rows;
}

TFolderRowLayout LayOutRow(const TRect& rect, int depth)
{
    const int left = rect.left + RowMargin + depth * IndentWidth;
    const int middle = (rect.top + rect.bottom) / 2;
    return {left + BoxSize / 2, middle, Rect(left, middle - 4, left + BoxSize, middle + 5), left + FolderOffset,
            left + FolderOffset + LabelOffset};
}

// Tree lines are dotted: every other pixel, on a grid fixed to the tree so that lines of
// neighbouring rows join up.
void DottedLine(TCanvas& canvas, TPoint from, TPoint to)
{
    const int dx = to.x > from.x ? 1 : 0;
    const int dy = to.y > from.y ? 1 : 0;
    for (TPoint p = from; p.x <= to.x && p.y <= to.y; p.x += dx, p.y += dy) {
        if ((p.x + p.y) % 2 == 0)
            canvas.SetPixels(p.x, p.y, clGray);
        if (dx == 0 && dy == 0)
            break;
    }
}

std::string NormalRoot(const std::string& root)
{
    if (root.empty())
        return "/";
    std::string path = fs::path(root).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

TFolderTree::TFolderTree(std::string root)
{
    root = NormalRoot(root);
    m_rows.push_back({root, root, 0, false, true});
    Expand(0);
}

void TFolderTree::Expand(int index)
{
    if (index < 0 || index >= static_cast<int>(m_rows.size()) || m_rows[index].expanded)
        return;
    auto children = Subfolders(m_rows[index].path, m_rows[index].depth + 1);
    m_rows[index].expanded = true;
    m_rows[index].hasChildren = !children.empty();
    m_rows.insert(m_rows.begin() + index + 1, children.begin(), children.end());
}

void TFolderTree::Collapse(int index)
{
    if (index < 0 || index >= static_cast<int>(m_rows.size()) || !m_rows[index].expanded)
        return;
    auto end = m_rows.begin() + index + 1;
    while (end != m_rows.end() && end->depth > m_rows[index].depth)
        ++end;
    m_rows.erase(m_rows.begin() + index + 1, end);
    m_rows[index].expanded = false;
}

void TFolderTree::Toggle(int index)
{
    if (index >= 0 && index < static_cast<int>(m_rows.size()) && m_rows[index].expanded)
        Collapse(index);
    else
        Expand(index);
}

int TFolderTree::Reveal(const std::string& folder)
{
    const fs::path target = fs::path(folder).lexically_normal();
    int row = 0;
    for (;;) {
        Expand(row);
        const std::string current = m_rows[row].path;
        int next = -1;
        for (int i = row + 1; i < static_cast<int>(m_rows.size()) && m_rows[i].depth > m_rows[row].depth; ++i) {
            if (m_rows[i].depth != m_rows[row].depth + 1)
                continue;
            const auto relative = target.lexically_relative(m_rows[i].path);
            if (!relative.empty() && *relative.begin() != "..") {
                next = i;
                break;
            }
        }
        if (next < 0)
            return row == 0 && target != fs::path(current) ? 0 : row;
        row = next;
        if (fs::path(m_rows[row].path) == target || target.lexically_relative(m_rows[row].path) == ".")
            return row;
    }
}

bool TFolderTree::LevelContinues(int index, int depth) const
{
    for (int i = index + 1; i < static_cast<int>(m_rows.size()); ++i) {
        if (m_rows[i].depth <= depth)
            return m_rows[i].depth == depth;
    }
    return false;
}

int TFolderTree::ParentRow(int index) const
{
    for (int i = index - 1; i >= 0; --i)
        if (m_rows[i].depth < m_rows[index].depth)
            return i;
    return index;
}

CLASSLIB_IMPLEMENT_CLASS(TFolderBrowser, TForm, ComponentCreator<TFolderBrowser>, nullptr)

TFolderBrowser::TFolderBrowser(TComponent* owner) : TForm(owner)
{
    SetCaption("Browse for Folder");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(320);
    SetClientHeight(360);
    m_caption = new TLabel(this);
    m_caption->SetBounds(12, 10, 296, 28);
    m_caption->SetAutoSize(false);
    m_caption->SetWordWrap(true);
    m_caption->SetParent(this);
    m_tree = new TListBox(this);
    m_tree->SetBounds(12, 42, 296, 266);
    m_tree->SetStyle(lbOwnerDrawFixed);
    m_tree->SetItemHeight(RowHeight);
    m_tree->SetOnDrawItem(TDrawItemEvent::FromFunction(
        [this](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
            DrawRow(control, index, rect, state);
        }));
    m_tree->SetOnKeyDown(TKeyEvent::FromFunction(
        [this](TObject* sender, WORD& key, TShiftState shift) { TreeKeyDown(sender, key, shift); }));
    m_tree->SetOnDblClick(TNotifyEvent::FromFunction([this](TObject* sender) { TreeDblClick(sender); }));
    m_tree->SetOnMouseDown(TMouseEvent::FromFunction(
        [this](TObject*, TMouseButton button, TShiftState, int x, int y) { TreeMouseDown(button, Point(x, y)); }));
    m_tree->SetParent(this);
    m_ok = new TButton(this);
    m_ok->SetBounds(152, 322, 75, 25);
    m_ok->SetCaption("OK");
    m_ok->SetDefault(true);
    m_ok->SetModalResult(mrOk);
    m_ok->SetParent(this);
    m_cancel = new TButton(this);
    m_cancel->SetBounds(233, 322, 75, 25);
    m_cancel->SetCaption("Cancel");
    m_cancel->SetCancel(true);
    m_cancel->SetModalResult(mrCancel);
    m_cancel->SetParent(this);
    SetActiveControl(m_tree);
}

TFolderBrowser::~TFolderBrowser() = default;

void TFolderBrowser::Setup(const std::string& caption, const std::string& root, const std::string& startFolder)
{
    m_caption->SetCaption(caption);
    m_folders = std::make_unique<TFolderTree>(root);
    Refill(startFolder.empty() ? 0 : m_folders->Reveal(startFolder));
}

std::string TFolderBrowser::SelectedFolder() const
{
    const int index = m_tree->ItemIndex();
    if (!m_folders || index < 0)
        return "";
    return m_folders->Rows()[index].path;
}

void TFolderBrowser::Refill(int selected)
{
    m_tree->Items()->Clear();
    for (const auto& row : m_folders->Rows())
        m_tree->Items()->Add(row.name);
    m_tree->SetItemIndex(selected);
}

void TFolderBrowser::TreeKeyDown(TObject*, WORD& key, TShiftState)
{
    const int index = m_tree->ItemIndex();
    if (index < 0)
        return;
    const auto& row = m_folders->Rows()[index];
    if ((key == VK_RIGHT || key == VK_ADD) && !row.expanded) {
        m_folders->Expand(index);
        Refill(index);
        key = 0;
    } else if ((key == VK_LEFT || key == VK_SUBTRACT) && row.expanded) {
        m_folders->Collapse(index);
        Refill(index);
        key = 0;
    } else if (key == VK_LEFT) {
        m_tree->SetItemIndex(m_folders->ParentRow(index));
        key = 0;
    }
}

void TFolderBrowser::TreeDblClick(TObject*)
{
    const int index = m_tree->ItemIndex();
    if (index < 0 || m_pressOnBox)
        return;
    m_folders->Toggle(index);
    Refill(index);
}

// A press on a row's open/close box opens or closes that folder, as Right and Left do.
// A double click there toggles once per press too, not once more for the double click.
void TFolderBrowser::TreeMouseDown(TMouseButton button, TPoint point)
{
    const int index = m_tree->ItemAtPos(point, true);
    m_pressOnBox = button == mbLeft && index >= 0 && OnBox(index, point);
    if (!m_pressOnBox)
        return;
    m_folders->Toggle(index);
    Refill(index);
}

bool TFolderBrowser::OnBox(int index, TPoint point) const
{
    if (!m_folders->Rows()[index].hasChildren)
        return false;
    TRect box = LayOutRow(m_tree->ItemRect(index), m_folders->Rows()[index].depth).box;
    InflateRect(&box, 2, 2); // a little room around the small box
    return PtInRect(&box, point);
}

void TFolderBrowser::DrawRow(TWinControl*, int index, TRect rect, TOwnerDrawState state)
{
    TCanvas& canvas = *m_tree->Canvas();
    canvas.Brush()->SetColor(clWindow);
    canvas.FillRect(rect);
    if (!m_folders || index < 0 || index >= static_cast<int>(m_folders->Rows().size()))
        return;
    const auto& row = m_folders->Rows()[index];
    const TFolderRowLayout layout = LayOutRow(rect, row.depth);
    DrawTreeLines(canvas, index, rect, layout);
    if (row.hasChildren)
        DrawBox(canvas, layout.box, row.expanded);
    DrawFolder(canvas, layout.folderLeft, layout.middle, row.expanded);
    DrawLabel(canvas, row.name, rect, layout, state);
}

// The lines of the folders that hold this row's folder and have more folders below it, this row's
// own line (down from the row above, across to the folder, on down when a folder of the same level
// follows) and, under an open folder, the start of its folders' line.
void TFolderBrowser::DrawTreeLines(TCanvas& canvas, int index, const TRect& rect, const TFolderRowLayout& layout) const
{
    const int depth = m_folders->Rows()[index].depth;
    for (int level = 1; level < depth; ++level) {
        if (m_folders->LevelContinues(index, level)) {
            const int x = LayOutRow(rect, level).lineX;
            DottedLine(canvas, Point(x, rect.top), Point(x, rect.bottom - 1));
        }
    }
    if (depth > 0) {
        const int bottom = m_folders->LevelContinues(index, depth) ? rect.bottom - 1 : layout.middle;
        DottedLine(canvas, Point(layout.lineX, rect.top), Point(layout.lineX, bottom));
    }
    DottedLine(canvas, Point(layout.lineX, layout.middle), Point(layout.folderLeft - 2, layout.middle));
    if (m_folders->Rows()[index].expanded && m_folders->LevelContinues(index, depth + 1)) {
        const int x = LayOutRow(rect, depth + 1).lineX;
        DottedLine(canvas, Point(x, layout.middle + FolderBelowMiddle), Point(x, rect.bottom - 1));
    }
}

void TFolderBrowser::DrawBox(TCanvas& canvas, const TRect& box, bool expanded)
{
    canvas.Pen()->SetColor(clGray);
    canvas.Brush()->SetColor(clWindow);
    canvas.Rectangle(box);
    const int x = (box.left + box.right) / 2;
    const int y = (box.top + box.bottom) / 2;
    canvas.Pen()->SetColor(clBlack);
    canvas.MoveTo(box.left + 2, y);
    canvas.LineTo(box.right - 2, y);
    if (!expanded) {
        canvas.MoveTo(x, box.top + 2);
        canvas.LineTo(x, box.bottom - 2);
    }
}

void TFolderBrowser::DrawFolder(TCanvas& canvas, int left, int middle, bool open)
{
    canvas.Pen()->SetColor(0x1C7CB0);
    canvas.Brush()->SetColor(open ? 0x8CE0FF : 0x60C8F0);
    canvas.Rectangle(left, middle - 4, left + 16, middle + FolderBelowMiddle);
    canvas.Rectangle(left, middle - 6, left + 7, middle - 3);
}

// Only the label takes the selection's colour and the focus rectangle, as in a tree view.
void TFolderBrowser::DrawLabel(TCanvas& canvas, const std::string& name, const TRect& rect, const TFolderRowLayout& layout,
                               TOwnerDrawState state)
{
    const SIZE extent = canvas.TextExtent(name);
    const int top = layout.middle - extent.cy / 2 - 1;
    const TRect label = Rect(layout.labelLeft, top, layout.labelLeft + extent.cx + 4, top + extent.cy + 2);
    const bool selected = state.Contains(odSelected);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(selected ? clHighlight : clWindow);
    canvas.FillRect(label);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetColor(selected ? clHighlightText : clWindowText);
    canvas.TextOut(label.left + 2, label.top + 1, name);
    if (state.Contains(odFocused)) {
        canvas.DrawFocusRect(label);
        // The list box draws its own focus rectangle round the whole row once this returns; an
        // inverting rectangle drawn twice leaves nothing, so this one cancels it.
        canvas.DrawFocusRect(rect);
    }
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory)
{
    TFolderBrowser dialog(nullptr);
    std::error_code error;
    const char* home = std::getenv("HOME");
    const std::string start = fs::is_directory(directory, error) ? directory : (home ? home : "/");
    dialog.Setup(caption, root, start);
    if (dialog.ShowModal() != mrOk || dialog.SelectedFolder().empty())
        return false;
    directory = dialog.SelectedFolder();
    return true;
}
