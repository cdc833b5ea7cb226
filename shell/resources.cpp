// resources.cpp -- hands the program's dialog template and icon to the layer at start-up,
// as a Windows program's linked resources would be.
#include "layer/resources.h"
#include "shell/resource.h"
#include "shell/settings_dialog_template.h"

extern const WORD IDD_SETTINGS = 102;
extern const WORD IDI_TREVOK = 102;

namespace {

const bool g_resourcesAdded = layer::AddDialogResource(102, &kSettingsDialogTemplate) &&
                              layer::AddIconResource(102, &ProgramIcon());

}  // namespace
