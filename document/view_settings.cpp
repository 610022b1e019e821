// The view options' round trip through the "Environment" section of the settings file.
#include "document/view_settings.h"

#include "framework/profile.h"

namespace kv {

void ViewSettings::readSettings() {
    troopListOption = readEnvInt("TroopListOption");
    showUnitIcon = readEnvBool("ShowUnitIcon") ? 1 : 0;
    landListOption = readEnvInt("LandListOption");
    showQuickTroop = readEnvBool("ShowQuickTroop") ? 1 : 0;
    showQuickLand = readEnvBool("ShowQuickLand") ? 1 : 0;
    quickInfoDelay = readEnvInt("ShowTimeQuickInfo");
}

void ViewSettings::writeSettings() const {
    writeEnvInt("TroopListOption", troopListOption);
    writeEnvBool("ShowUnitIcon", showUnitIcon == 1);
    writeEnvInt("LandListOption", landListOption);
    writeEnvBool("SimpleMode", false);
    writeEnvBool("ShowQuickTroop", showQuickTroop == 1);
    writeEnvBool("ShowQuickLand", showQuickLand == 1);
    writeEnvInt("ShowTimeQuickInfo", quickInfoDelay);
}

}  // namespace kv
