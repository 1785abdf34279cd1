#pragma once

#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"

#include <string>
#include <vector>

class TButton;
class TCanvas;
struct TFolderRowLayout;
class TLabel;
class TListBox;

// The folder browser: a tree of folders with OK and Cancel. The tree starts at a root folder and
// opens along the start folder; a folder opens and closes with a click on its box, a double click,
// Right and Left (or '+' and '-'); only folders with folders inside have a box. Enter confirms,
// Escape cancels.

// The tree's rows: the folders shown, each with its depth and whether it is open. Hidden folders
// (names starting with '.') are not shown; folders are sorted by name.
class TFolderTree {
public:
    struct Row {
        std::string path;
        std::string name;
        int depth = 0;
        bool expanded = false;
        bool hasChildren = false;
    };

    explicit TFolderTree(std::string root);

    [[nodiscard]] const std::vector<Row>& Rows() const { return m_rows; }
    void Expand(int index);
    void Collapse(int index);
    void Toggle(int index);
    // Opens the folders from the root down to `folder` and returns its row (0 when it is not
    // below the root or cannot be read).
    int Reveal(const std::string& folder);
    // Whether a folder at `depth` follows row `index` before the tree leaves that level: the
    // tree line at that depth runs on below the row.
    [[nodiscard]] bool LevelContinues(int index, int depth) const;
    // The row of the folder holding row `index`'s folder; `index` itself for the root.
    [[nodiscard]] int ParentRow(int index) const;

private:
    std::vector<Row> m_rows;
};

// The dialog's window; SelectDirectory shows it modally.
class TFolderBrowser : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TFolderBrowser(TComponent* owner);
    ~TFolderBrowser() override;

    // Sets the text above the tree, the root ("" is "/") and the folder to start at.
    void Setup(const std::string& caption, const std::string& root, const std::string& startFolder);
    // The folder of the selected row.
    [[nodiscard]] std::string SelectedFolder() const;
    [[nodiscard]] TListBox* Tree() const { return m_tree; }
    [[nodiscard]] TButton* OkButton() const { return m_ok; }
    [[nodiscard]] TButton* CancelButton() const { return m_cancel; }

private:
    void Refill(int selected);
    void TreeKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void TreeDblClick(TObject* sender);
    void TreeMouseDown(TMouseButton button, TPoint point);
    [[nodiscard]] bool OnBox(int index, TPoint point) const;
    void DrawRow(TWinControl* control, int index, TRect rect, TOwnerDrawState state);
    void DrawTreeLines(TCanvas& canvas, int index, const TRect& rect, const TFolderRowLayout& layout) const;
    static void DrawBox(TCanvas& canvas, const TRect& box, bool expanded);
    static void DrawFolder(TCanvas& canvas, int left, int middle, bool open);
    static void DrawLabel(TCanvas& canvas, const std::string& name, const TRect& rect, const TFolderRowLayout& layout,
                          TOwnerDrawState state);

    std::unique_ptr<TFolderTree> m_folders;
    TLabel* m_caption = nullptr;
    TListBox* m_tree = nullptr;
    TButton* m_ok = nullptr;
    TButton* m_cancel = nullptr;
    // Whether the last press in the tree was on a folder's box.
    bool m_pressOnBox = false;
};

// Shows the folder browser captioned `caption` over the folders below `root` ("" for the whole
// file system), starting at `directory` when that names a folder, else at the home folder. True
// and the chosen folder in `directory` when the user confirms; false and `directory` unchanged
// when the user cancels.
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);
