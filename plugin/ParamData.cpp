#include "ParamData.h"

namespace ParamData
{
const char* const paramName[numAutomatable] = {
    "ENGAGE 1/LINK",   "HPF IN 1/LINK",   "HPF FREQ 1/LINK", "EQ1 IN 1/LINK",   "EQ1 GAIN 1/LINK", "EQ1 Q 1/LINK",
    "EQ1 FREQ 1/LINK", "EQ2 IN 1/LINK",   "EQ2 GAIN 1/LINK", "EQ2 Q 1/LINK",    "EQ2 FREQ 1/LINK", "PEQ IN 1/LINK",
    "LO BOOST 1/LINK", "LO ATTEN 1/LINK", "LO CPS 1/LINK",   "HI BOOST 1/LINK", "HI ATTEN 1/LINK", "HI BW 1/LINK",
    "KCS BST 1/LINK",  "KCS ATT 1/LINK",  "ENGAGE 2",        "HPF IN 2",        "HPF FREQ 2",      "EQ1 IN 2",
    "EQ1 GAIN 2",      "EQ1 Q 2",         "EQ1 FREQ 2",      "EQ2 IN 2",        "EQ2 GAIN 2",      "EQ2 Q 2",
    "EQ2 FREQ 2",      "PEQ IN 2",        "LO BOOST 2",      "LO ATTEN 2",      "LO CPS 2",        "HI BOOST 2",
    "HI ATTEN 2",      "HI BW 2",         "KCS BST 2",       "KCS ATT 2",       "CHANNEL",         "MS MATRIX"
};

const char* const naParamName[numNonAutomatable] = { "IS CONNECTED",     "CONNECTED DEV SN", "SHOULD BE CONNECTED",
                                                     "SELECTED CHANNEL", "PANELS OPENED",    "A/B SELECTED",
                                                     "CAN BE MS",        "CLIP L",           "CLIP R",
                                                     "GUI THEME CHOOSER" };
} // namespace ParamData
