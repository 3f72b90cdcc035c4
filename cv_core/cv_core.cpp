#include "cv_core.h"

#include <locale.h>
#include <stdlib.h>
#include <string>
#include <thread>

#include "commands/CommandManager.cpp"
#include "params/CvDawParameter.cpp"
#include "params/CvParamsManager.cpp"
#include "params/ThreadBarierNonAutomatableParameter.cpp"
#include "plugin/CvPluginInstance.cpp"
#include "settings/CvSettingsFile.cpp"
#include "state/CvStateReader.cpp"
#include "threads/CvMessageThreadHold.cpp"
