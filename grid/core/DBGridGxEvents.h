#pragma once

#include "grid/core/GridsGx.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/forms/GraphicsObjects.h"

class TColumnGx;

// The data grid's events that its columns also reach (a column's drop-down box sets them on the
// column's drop-down data grid).
using TDrawColumnCellEventGx = TEvent<TObject*, const TRect&, int, TColumnGx*, TGridDrawState>;
using TGetCellParamsEventGx = TEvent<TObject*, TColumnGx*, TFont*, TColor&, TGridDrawState>;
// OnCheckButton(Sender, ACol, Column, Enabled): whether a title acts as a button.
using TCheckTitleButtonEventGx = TEvent<TObject*, int, TColumnGx*, bool&>;
// OnTitleBtnClick(Sender, ACol, Column).
using TTitleButtonClickEventGx = TEvent<TObject*, int, TColumnGx*>;
