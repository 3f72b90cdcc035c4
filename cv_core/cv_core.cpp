#include "cv_core.h"

#include <locale.h>
#include <stdlib.h>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>

#include "commands/CommandManager.cpp"
#include "params/CvDawParameter.cpp"
#include "params/CvParamsManager.cpp"
#include "params/ThreadBarierNonAutomatableParameter.cpp"
#include "plugin/CvPluginInstance.cpp"
#include "settings/CvSettingsFile.cpp"
#include "state/CvMarkupCheck.h"
#include "state/CvMarkupCheck.cpp"
#include "state/CvStateReader.cpp"
#include "threads/CvMessageThreadHold.cpp"
