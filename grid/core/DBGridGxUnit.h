#pragma once

// The data grids' process-wide objects: the default style and the grid centre. A program starts
// them once the window system is up (after Application->Initialize) and ends them while it still
// is, before its forms go; grids made meanwhile register with both. Start-up and shut-down nest:
// only the outermost pair makes and frees the objects.
void InitializeGridUnit();
void FinalizeGridUnit();

// Starts the grid unit for as long as it lives.
class TGridUnitScope {
public:
    TGridUnitScope() { InitializeGridUnit(); }
    ~TGridUnitScope() { FinalizeGridUnit(); }
    TGridUnitScope(const TGridUnitScope&) = delete;
    TGridUnitScope& operator=(const TGridUnitScope&) = delete;
};
