#pragma once
// Column layouts of the log grids: which fields show, in which order, under which title,
// how wide (in characters) and aligned how. Three layouts live in the user folder, one
// per choice of "Predefined Settings": "qx70.obj" (Default), "qx71.obj" (QZ3QZ's
// favorite) and "qx7u.obj" (User settings). The files are small text files of ours; a
// missing or damaged one leaves the shipped columns.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

enum class GridAlign
{
    Left = 0,
    Right = 1,
    Center = 2
};

struct GridColumn
{
    std::string field; // log field name, "CALL"
    std::string title;
    GridAlign titleAlign = GridAlign::Left;
    GridAlign dataAlign = GridAlign::Left;
    int width = 8; // characters
    bool operator==(const GridColumn&) const = default;
};

struct GridLayout
{
    std::vector<GridColumn> columns;
    bool operator==(const GridLayout&) const = default;
};

inline constexpr int kGridSetupChoices = 3;
// "qx70.obj", "qx71.obj", "qx7u.obj" for choices 0, 1, 2 (others count as 0).
const char* gridSetupFileName(int choice);
const char* gridSetupChoiceName(int choice);

// The columns a new log window shows.
GridLayout shippedGridLayout();
// What "QZ3QZ's favorite" shows before its file exists: the working columns only.
GridLayout favoriteGridLayout();
// The layout of a choice as shipped, written into the user folder when it is missing.
GridLayout builtinGridLayout(int choice);

// The name the setup list shows for a field; empty for fields it does not know.
std::string gridFieldDisplayName(std::string_view field);
// The fields a grid may show: every log field except DXCC, XBND and MARK.
std::vector<std::string> gridOfferedFields();

// Reads a layout file; nothing when it is missing, unreadable, damaged or names a field a
// log grid cannot show.
std::optional<GridLayout> loadGridLayout(const std::string& path);
// Writes the whole file beside the target and renames it into place; false on failure
// (the old file then stays as it was).
bool saveGridLayout(const std::string& path, const GridLayout& layout);

// Column widths in characters and pixels, with c the pixel width of "0" and o the font's
// overhang: characters = (pixels - o - 4) div (c - o), pixels = (c - o) * characters + o + 4.
int gridWidthToCharacters(int pixels, int zeroWidth, int overhang = 0);
int gridWidthToPixels(int characters, int zeroWidth, int overhang = 0);

} // namespace qx7
