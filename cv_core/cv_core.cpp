#include "cv_core.h"

#include "params/CvParamsManager.cpp"
#include "params/CvDawParameter.cpp"
#include "params/ThreadBarierNonAutomatableParameter.cpp"
#include "commands/CommandManager.cpp"
#include "settings/CvSettingsFile.cpp"
#include "plugin/CvPluginInstance.cpp"
