#pragma once

// How text sits in its box: the vocabulary of labels, edits, panels, list columns and fields.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
