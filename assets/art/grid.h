#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/art/colour.h"

namespace art {

// A rectangle of cells, row after row from the top. With wrap_x set the columns wrap around
// (x = -1 is the last column), so shapes crossing the left or right edge continue on the other
// side: that is what keeps a scrolling background seamless. Rows never wrap; cells outside are
// ignored when written and read as the fallback.
template <typename Cell>
struct Grid {
    int width = 0;
    int height = 0;
    bool wrap_x = false;
    std::vector<Cell> cells;
};

using Canvas = Grid<Colour>;
using Mask = Grid<std::uint8_t>;  // 1 where a shape covers the cell

template <typename Cell>
Grid<Cell> make_grid(int width, int height, Cell fill, bool wrap_x = false) {
    Grid<Cell> grid{width, height, wrap_x, {}};
    grid.cells.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    return grid;
}

// Index of cell (x, y), or -1 when it lies outside.
template <typename Cell>
std::ptrdiff_t cell_index(const Grid<Cell>& grid, int x, int y) {
    if (y < 0 || y >= grid.height || grid.width <= 0) return -1;
    if (grid.wrap_x) {
        x %= grid.width;
        if (x < 0) x += grid.width;
    } else if (x < 0 || x >= grid.width) {
        return -1;
    }
    return static_cast<std::ptrdiff_t>(y) * grid.width + x;
}

template <typename Cell>
Cell get(const Grid<Cell>& grid, int x, int y, Cell fallback = Cell{}) {
    const std::ptrdiff_t i = cell_index(grid, x, y);
    return i < 0 ? fallback : grid.cells[static_cast<std::size_t>(i)];
}

template <typename Cell>
void set(Grid<Cell>& grid, int x, int y, Cell value) {
    const std::ptrdiff_t i = cell_index(grid, x, y);
    if (i >= 0) grid.cells[static_cast<std::size_t>(i)] = value;
}

}  // namespace art
