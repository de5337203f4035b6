#pragma once
// The accessible interfaces of the component set's own controls. Each control installs them when
// it is made; the first call registers them with Qt, later calls do nothing.

void InstallComponentAccessibility();
