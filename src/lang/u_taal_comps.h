#pragma once

// The language and unit service and the components that follow it.

#include "lang/MetricField.h"
#include "lang/TaalClient.h"
#include "lang/TaalComponent.h"
#include "lang/TaalIntf.h"
#include "lang/TaalObserver.h"
