#pragma once
// Tells the user, once at start and in the interface language, that the settings file was
// damaged, that what could not be read was reset, and where the damaged file was kept.

class QWidget;
class TSettingsModel;

// Nothing when the settings were read without damage.
void ShowSettingsNotice(QWidget *parent, const TSettingsModel &settings);
