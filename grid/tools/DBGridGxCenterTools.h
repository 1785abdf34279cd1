#pragma once

// Hands the grid centre the tools' clipboard actions, text search and data-set features registry,
// which the grid library cannot reach itself. A program calls it once at start-up.
void RegisterGridCenterTools();
