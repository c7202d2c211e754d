// The umbrella header of the exchange client library: every record struct and the error types.
#pragma once

#include "quorex/Errors.h"
#include "quorex/Export.h"
#include "quorex/Records.h"
#include "quorex/Api.h"
