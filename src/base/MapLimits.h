#pragma once

// Largest level map built: each side, and the number of cells. A map cell
// and its two light records take about a hundred bytes, so the largest map
// takes some 400 MB, which a 2 GB machine holds beside the rest of the game;
// real rooms are a few thousand pixels at most on their long side and far
// smaller. The level refuses larger maps, and a save slot's memory of a
// level is refused beyond the same limits.
constexpr int maxMapSide = 8192;
constexpr long long maxMapCells = 2048LL * 2048LL;
