// settings_dialog_template.h -- the template of the settings dialog and the program's icon.
#pragma once

#include "layer/resources.h"

extern const layer::DialogResource kSettingsDialogTemplate;
// 32 x 32 pixels, built on first use.
const layer::IconResource& ProgramIcon();
