#pragma once
// The "metrion" log category, shared by the statistics-service client and its providers.

#include "core/support/Log.h"

Q_DECLARE_LOGGING_CATEGORY(lcMetrion)
