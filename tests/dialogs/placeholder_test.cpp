#include <gtest/gtest.h>

#include "dialogs/help.h"

TEST(Dialogs, HelpForNoContextDoesNothing) { vorlo::OpenHelpTopic(0); }
