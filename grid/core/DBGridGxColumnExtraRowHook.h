#pragma once

#include "platform/rtl/Variant.h"

#include <functional>
#include <memory>
#include <string>

class TColumnGx;

// The special first row of a column's lookup drop-down (a "none" or "all" entry), as the column
// sees it. The grid library has no special row of its own: the tools library that has one installs
// a maker of them at start-up, and columns made before that (or without it) have none.
class IColumnSpecRowGx {
public:
    virtual ~IColumnSpecRowGx() = default;

    [[nodiscard]] virtual bool Visible() const = 0;
    // The key value the row stands for.
    [[nodiscard]] virtual const Variant& Value() const = 0;
    // The row also stands for key values missing from the lookup list.
    [[nodiscard]] virtual bool ShowIfNotInKeyList() const = 0;
    // The text of one of its cells; '' outside them.
    [[nodiscard]] virtual std::string CellText(int index) const = 0;
};

// Makes a column's special row; `changed` is to be called on every change of it.
using TColumnSpecRowMakerGx = std::unique_ptr<IColumnSpecRowGx> (*)(TColumnGx& column, std::function<void()> changed);

void SetColumnSpecRowMaker(TColumnSpecRowMakerGx maker);
[[nodiscard]] TColumnSpecRowMakerGx ColumnSpecRowMaker();
