#pragma once
// The panels of the configuration windows: the command column and the message strip, the
// edits panel, the SNMP editor panel and the SNMP table panel.
#include "ui/GUIEditorPanel.h"
#include "ui/GUIEditsPanel.h"
#include "ui/GUIFixedPanels.h"
#include "ui/GUIListViewPanel.h"
