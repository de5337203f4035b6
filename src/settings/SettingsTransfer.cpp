#include "settings/SettingsTransfer.h"

std::string ExportSettings(const std::string &, const std::string &)
{
    return "orvani: exporting settings is not available yet";
}

std::string ImportSettings(const std::string &, const std::string &)
{
    return "orvani: importing settings is not available yet";
}
