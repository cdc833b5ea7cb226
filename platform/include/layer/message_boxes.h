// layer/message_boxes.h -- what the program showed in message boxes, for tests.
#pragma once

#include <string>
#include <vector>

#include "../wintypes.h"

namespace layer {

struct ShownMessageBox {
    std::string text;
    std::string caption;
    UINT type;
};

// Every box shown since the last clear, oldest first.
const std::vector<ShownMessageBox>& ShownMessageBoxes();
void ClearShownMessageBoxes();
// When false (the default in tests and without a display) boxes never block.
void SetMessageBoxesInteractive(bool interactive);
// The answer a non-interactive box gives (IDOK unless a test says otherwise).
void SetMessageBoxAnswer(int answer);

}  // namespace layer
