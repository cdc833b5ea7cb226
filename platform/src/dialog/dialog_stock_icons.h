// dialog_stock_icons.h -- the stock icons that message boxes show, by their resource numbers.
#pragma once

#include <cstdint>
#include <vector>

namespace dlgview {

// The numbers of the system's icons (IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK).
constexpr int kStockIconError = 32513;
constexpr int kStockIconQuestion = 32514;
constexpr int kStockIconWarning = 32515;
constexpr int kStockIconInformation = 32516;

// The icon as size x size ARGB pixels, top row first, transparent round it.
std::vector<uint32_t> StockIconPixels(int id, int size);

}  // namespace dlgview
