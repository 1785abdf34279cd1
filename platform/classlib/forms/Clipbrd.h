#pragma once

#include "platform/classlib/core/Persistent.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/user/Clipboard.h"

#include <cstddef>
#include <string>

RTL_DECLARE_EXCEPTION(EClipboardException, Exception);

// The class library's view of the clipboard. Open and Close nest: only the outermost pair opens
// and closes the clipboard, and the first format written inside one session empties it, so that a
// session can put several formats there together. Every reader and writer opens a session of its
// own around itself, so they work inside or outside Open/Close alike. Raises EClipboardException
// "Cannot open clipboard" when another window holds it open.
class TClipboard : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TClipboard();
    ~TClipboard() override;
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    void Open();
    void Close();
    void Clear();
    [[nodiscard]] bool HasFormat(UINT format) const;

    // CF_TEXT, up to its terminating null; empty when there is none.
    [[nodiscard]] std::string AsText();
    void SetAsText(const std::string& text);
    // Copies at most bufSize - 1 characters and a null; the number copied.
    int GetTextBuf(char* buffer, int bufSize);
    void SetTextBuf(const char* buffer);
    // A copy of `size` bytes as a new global block of `format`.
    void SetBuffer(UINT format, const void* buffer, std::size_t size);
    // The clipboard keeps the handle it returns; SetAsHandle hands `value` over to it.
    [[nodiscard]] HANDLE GetAsHandle(UINT format);
    void SetAsHandle(UINT format, HANDLE value);

    [[nodiscard]] int FormatCount() const;
    [[nodiscard]] UINT Formats(int index);

    // Puts a bitmap (a TBitmap, or a TPicture holding one) there as CF_BITMAP.
    void Assign(const TPersistent* source) override;

protected:
    // Fills a TBitmap or a TPicture from CF_BITMAP; EInvalidGraphic "Unsupported clipboard format"
    // when there is none.
    void AssignTo(TPersistent* dest) const override;

private:
    // The first write of a session empties the clipboard.
    void Adding();
    void AssignBitmap(HBITMAP bitmap);
    void CopyBitmapTo(TPersistent* dest);

    HWND m_window = nullptr;
    int m_openRefCount = 0;
    bool m_emptied = false;
};

// The program's clipboard object, made on first use.
[[nodiscard]] TClipboard* Clipboard();
