#include "platform/classlib/forms/FileCtrl.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int IndentWidth = 16;
constexpr int RowHeight = 18;

std::vector<TFolderTree::Row> Subfolders(const std::string& folder, int depth)
{
    std::vector<TFolderTree::Row> rows;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with('.') || !it->is_directory(error))
            continue;
        rows.push_back({it->path().string(), name, depth, false, true});
    }
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return rows;
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
    if (index < 0)
        return;
    m_folders->Toggle(index);
    Refill(index);
}

void TFolderBrowser::DrawRow(TWinControl*, int index, TRect rect, TOwnerDrawState state)
{
    TCanvas& canvas = *m_tree->Canvas();
    const bool selected = state.Contains(odSelected);
    canvas.Brush()->SetColor(selected ? clHighlight : clWindow);
    canvas.FillRect(rect);
    if (!m_folders || index < 0 || index >= static_cast<int>(m_folders->Rows().size()))
        return;
    const auto& row = m_folders->Rows()[index];
    const int left = rect.left + 4 + row.depth * IndentWidth;
    const int middle = (rect.top + rect.bottom) / 2;
    // The open/close box.
    if (row.hasChildren) {
        canvas.Pen()->SetColor(clGray);
        canvas.Brush()->SetColor(clWindow);
        canvas.Rectangle(left, middle - 4, left + 9, middle + 5);
        canvas.Pen()->SetColor(clBlack);
        canvas.MoveTo(left + 2, middle);
        canvas.LineTo(left + 7, middle);
        if (!row.expanded) {
            canvas.MoveTo(left + 4, middle - 2);
            canvas.LineTo(left + 4, middle + 3);
        }
    }
    // The folder.
    const int folderLeft = left + 13;
    canvas.Pen()->SetColor(0x1C7CB0);
    canvas.Brush()->SetColor(row.expanded ? 0x8CE0FF : 0x60C8F0);
    canvas.Rectangle(folderLeft, middle - 4, folderLeft + 16, middle + 6);
    canvas.Rectangle(folderLeft, middle - 6, folderLeft + 7, middle - 3);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetColor(selected ? clHighlightText : clWindowText);
    canvas.TextOut(folderLeft + 21, middle - canvas.TextHeight(row.name) / 2, row.name);
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
