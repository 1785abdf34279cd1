#pragma once

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/controls/EditLayout.h"
#include "platform/winapi/controls/EditModel.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/WinUser.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How a rich edit draws its styled text: the font and colour of each style number of the model.
class EditStyleSource {
public:
    virtual ~EditStyleSource() = default;
    [[nodiscard]] virtual HFONT Font(int style) = 0;
    // CLR_INVALID: the control's text colour.
    [[nodiscard]] virtual COLORREF TextColor(int style) = 0;
};

// The state of one edit window, made on WM_NCCREATE and kept as ControlInstance.h says. The window
// procedure only dispatches to these handlers; a rich edit adds its styles and its own messages
// and passes everything else on.
class EditControl : public ControlInstance {
public:
    explicit EditControl(HWND hwnd);
    ~EditControl() override;

    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // For the rich edit.
    [[nodiscard]] EditModel& Model() { return m_model; }
    void MakeRich(std::unique_ptr<EditStyleSource> styles);
    [[nodiscard]] EditStyleSource* Styles() const { return m_styles.get(); }
    void SetEventMask(DWORD mask) { m_eventMask = mask; }
    [[nodiscard]] DWORD EventMask() const { return m_eventMask; }
    void SetBackground(COLORREF color) { m_background = color; Invalidate(); }
    [[nodiscard]] COLORREF Background() const { return m_background; }
    // The style new text gets at the caret until the selection moves (-1: the neighbour's).
    void SetInsertStyle(int style) { m_insertStyle = style; }
    // After the model's styles changed: lay out and repaint.
    void StylesChanged();
    void SetSelection(std::size_t anchor, std::size_t caret, bool scroll);

private:
    // Text and notifications (EditControl.cpp).
    [[nodiscard]] DWORD Style() const;
    [[nodiscard]] bool IsMultiLine() const;
    [[nodiscard]] bool IsPassword() const;
    [[nodiscard]] bool IsReadOnly() const;
    // Tells the parent; false when the parent destroyed the edit meanwhile.
    [[nodiscard]] bool Notify(WORD code);
    // ES_UPPERCASE and ES_LOWERCASE apply to every text the control takes.
    [[nodiscard]] std::string WithCase(std::string text) const;
    // Puts text in place of the selection within the limit; false when nothing changed.
    bool InsertText(std::string text, bool undoable);
    // Lays out, scrolls and reports a change; false when a report destroyed the edit.
    bool AfterChange();
    void SetText(const char* text);
    LRESULT GetText(WPARAM size, LPSTR buffer) const;
    LRESULT GetLine(WPARAM line, LPSTR buffer) const;
    LRESULT LineLength(WPARAM index) const;
    [[nodiscard]] int InsertStyle() const;
    void SetReadOnly(bool readOnly);
    void SetPasswordChar(char c);
    void SetMargins(WPARAM flags, LPARAM margins);
    LRESULT SelectionMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT LineMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ScrollMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT EditingMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // Layout, scrolling and painting (EditView.cpp).
    void Create(const CREATESTRUCTA& cs);
    void SetFont(HFONT font, bool redraw);
    [[nodiscard]] HFONT CurrentFont() const;
    void ResetFormatRect();
    void SetFormatRect(const RECT* rect, bool redraw);
    void Relayout();
    [[nodiscard]] std::vector<int> Measure(std::size_t from, std::size_t to) const;
    [[nodiscard]] int CharWidth(std::size_t from, std::size_t to) const;
    [[nodiscard]] bool IsWrapping() const;
    [[nodiscard]] int VisibleLines() const;
    [[nodiscard]] std::size_t LineOf(std::size_t pos) const;
    [[nodiscard]] int AlignOffset(const EditLine& line) const;
    [[nodiscard]] POINT PosToClient(std::size_t pos) const;
    [[nodiscard]] std::size_t PosFromClient(POINT point) const;
    [[nodiscard]] std::size_t PosInLine(std::size_t line, int x) const;
    bool ScrollToCaret();
    void ScrollLines(int delta);
    void ScrollColumns(int pixels);
    void OnScroll(int bar, WORD code);
    void UpdateScrollBars();
    void UpdateCaret();
    void Invalidate();
    void Paint(HDC dc);
    // The background brush; nothing when the parent destroyed the edit as it was asked.
    [[nodiscard]] std::optional<HBRUSH> PrepareColors(HDC dc, GdiObject<HBRUSH>& owned);
    void PaintLine(HDC dc, std::size_t line, int y, bool showSelection);

    // Keyboard, mouse, focus and clipboard (EditInput.cpp).
    void OnChar(BYTE c);
    void OnControlChar(BYTE c);
    void OnKeyDown(WPARAM key);
    void MoveCaret(std::size_t pos, bool extend);
    [[nodiscard]] std::size_t VerticalMove(int lines) const;
    void DeleteForward();
    void DeleteBackward();
    void OnButtonDown(WPARAM keys, POINT point);
    void OnMouseMove(POINT point);
    void OnButtonUp();
    void OnDoubleClick(POINT point);
    void OnSetFocus();
    void OnKillFocus();
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    void Undo();

    EditModel m_model;
    std::vector<EditLine> m_lines;
    HDC m_measureDC = nullptr;
    HFONT m_font = nullptr;
    int m_lineHeight = 16;
    int m_avgCharWidth = 6;
    RECT m_format{};
    int m_leftMargin = 1;
    int m_rightMargin = 1;
    int m_firstLine = 0;
    int m_xOffset = 0;
    char m_passwordChar = '*';
    std::size_t m_limit;
    bool m_modified = false;
    bool m_focused = false;
    bool m_selecting = false;
    std::string m_pendingBytes;
    std::size_t m_pendingLength = 0;
    std::unique_ptr<EditStyleSource> m_styles;
    DWORD m_eventMask = 0;
    COLORREF m_background;
    int m_insertStyle = -1;
    // Widths of the ASCII characters per style, measured once: layout measures every character.
    mutable std::map<int, std::array<int, 128>> m_asciiWidths;
};

