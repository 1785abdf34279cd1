#include "grid/tools/ListExtraRowGx.h"

#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Controls.h"

#include <algorithm>

namespace {

void DescribeSpecRow(TClassBuilder& c)
{
    using C = TSpecRowGx;
    c.String("CellsText", &C::CellsText, &C::SetCellsText);
    c.Ordinal("Color", ColorTypeInfo(), &C::Color, &C::SetColor).StoredWhen(&C::OwnColor);
    c.Object("Font", &C::Font, &C::SetFont).StoredWhen(&C::OwnFont);
    c.Integer("ShortCut", &C::ShortCut, &C::SetShortCut).Default(0);
    c.Boolean("ShowIfNotInKeyList", &C::ShowIfNotInKeyList, &C::SetShowIfNotInKeyList).Default(false);
    c.Boolean("Visible", &C::Visible, &C::SetVisible).Default(false);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TSpecRowGx, TPersistent, nullptr, DescribeSpecRow)

namespace {

// Every character below the blank counts as a control character, NUL too, so that each pass
// over the text moves on.
[[nodiscard]] bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }

void SkipControls(const std::string& text, std::size_t& pos)
{
    while (pos < text.size() && IsControl(text[pos]))
        ++pos;
}

std::string ReadQuotedCell(const std::string& text, std::size_t& pos)
{
    std::string cell;
    ++pos;
    while (pos < text.size()) {
        if (text[pos] != '"') {
            cell += text[pos++];
            continue;
        }
        if (pos + 1 < text.size() && text[pos + 1] == '"') {
            cell += '"';
            pos += 2;
            continue;
        }
        ++pos;
        break;
    }
    return cell;
}

[[nodiscard]] bool SameFont(const TFont& a, const TFont& b)
{
    return a.Color() == b.Color() && a.Height() == b.Height() && a.Name() == b.Name() && a.Style() == b.Style() &&
           a.Pitch() == b.Pitch() && a.Charset() == b.Charset() && a.Orientation() == b.Orientation();
}

} // namespace

void SplitCellsText(TStrings& cells, const std::string& text)
{
    cells.BeginUpdate();
    cells.Clear();
    std::size_t pos = 0;
    for (;;) {
        SkipControls(text, pos);
        if (pos >= text.size())
            break;
        if (text[pos] == '"') {
            cells.Add(ReadQuotedCell(text, pos));
        } else {
            const std::size_t start = pos;
            while (pos < text.size() && text[pos] != ';' && !IsControl(text[pos]))
                ++pos;
            cells.Add(text.substr(start, pos - start));
        }
        SkipControls(text, pos);
        if (pos < text.size() && text[pos] == ';')
            ++pos;
    }
    cells.EndUpdate();
}

std::string JoinCellsText(const std::vector<std::string>& cells)
{
    std::string text;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string& cell = cells[i];
        if (i > 0)
            text += ';';
        const bool plain = !cell.empty() && cell.front() != '"' &&
                           std::none_of(cell.begin(), cell.end(), [](char c) { return c == ';' || IsControl(c); });
        if (plain) {
            text += cell;
            continue;
        }
        text += '"';
        for (const char c : cell)
            text += c == '"' ? std::string("\"\"") : std::string(1, c);
        text += '"';
    }
    return text;
}

TSpecRowGx::TSpecRowGx(TPersistent* owner)
    : m_owner(owner), m_cells(std::make_unique<TStringList>()), m_font(std::make_unique<TFont>())
{
    m_font->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { FontChanged(); }));
}

TSpecRowGx::~TSpecRowGx() = default;

void TSpecRowGx::Assign(const TPersistent* source)
{
    const auto* row = dynamic_cast<const TSpecRowGx*>(source);
    if (!row) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    SetCellsText(row->m_cellsText);
    if (row->m_ownColor)
        SetColor(row->m_color);
    if (row->m_ownFont)
        SetFont(row->m_font.get());
    SetShortCut(row->m_shortCut);
    SetShowIfNotInKeyList(row->m_showIfNotInKeyList);
    SetValue(row->m_value);
    SetVisible(row->m_visible);
    EndUpdate();
}

std::string TSpecRowGx::CellText(int index) const
{
    return index >= 0 && index < m_cells->Count() ? m_cells->Strings(index) : std::string();
}

void TSpecRowGx::SetCellsText(const std::string& value)
{
    if (value == m_cellsText)
        return;
    m_cellsText = value;
    SplitCellsText(*m_cells, value);
    Changed();
}

TColor TSpecRowGx::Color() const
{
    if (!m_ownColor)
        if (const auto* control = dynamic_cast<const TCustomControl*>(m_owner))
            return control->Color();
    return m_color;
}

void TSpecRowGx::SetColor(TColor value)
{
    if (m_ownColor && value == m_color)
        return;
    m_color = value;
    m_ownColor = true;
    Changed();
}

// Until the row has a font of its own it shows its owner's, copied again whenever that changed.
TFont* TSpecRowGx::Font() const
{
    const auto* control = dynamic_cast<const TControl*>(m_owner);
    if (!m_ownFont && control && control->Font() && !SameFont(*control->Font(), *m_font)) {
        auto& self = const_cast<TSpecRowGx&>(*this);
        self.m_copyingFont = true;
        m_font->Assign(control->Font());
        self.m_copyingFont = false;
    }
    return m_font.get();
}

void TSpecRowGx::SetFont(const TFont* value) { m_font->Assign(value); }

void TSpecRowGx::FontChanged()
{
    if (m_copyingFont)
        return;
    m_ownFont = true;
    Changed();
}

void TSpecRowGx::SetShortCut(TShortCut value)
{
    if (value == m_shortCut)
        return;
    m_shortCut = value;
    Changed();
}

void TSpecRowGx::SetShowIfNotInKeyList(bool value)
{
    if (value == m_showIfNotInKeyList)
        return;
    m_showIfNotInKeyList = value;
    Changed();
}

void TSpecRowGx::DefineProperties(TFiler& filer)
{
    TPersistent::DefineProperties(filer);
    filer.DefineProperty(
        "Value", [this](TReader& reader) { SetValue(reader.ReadVariant()); },
        [this](TWriter& writer) { writer.WriteVariant(m_value); }, !VarIsNull(m_value));
}

void TSpecRowGx::SetValue(const Variant& value)
{
    if (VarType(value) == VarType(m_value) && !VarIsArray(value) && value == m_value)
        return;
    m_value = value;
    Changed();
}

void TSpecRowGx::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    m_visible = value;
    Changed();
}

void TSpecRowGx::EndUpdate()
{
    if (m_updateDepth > 0)
        --m_updateDepth;
    Changed();
}

void TSpecRowGx::Changed()
{
    if (m_updateDepth == 0)
        m_onChange(this);
}

void RegisterColumnSpecialRows()
{
    SetColumnSpecRowMaker([](TColumnGx& column, std::function<void()> changed) -> std::unique_ptr<IColumnSpecRowGx> {
        auto row = std::make_unique<TSpecRowGx>(&column);
        row->SetOnChange(TNotifyEvent::FromFunction([changed = std::move(changed)](TObject*) { changed(); }));
        return row;
    });
}
