// The umbrella header of the exchange client library: every record struct, the error types, the API
// classes, the password digest and the naming of per-user files.
#pragma once

#include "quorex/Errors.h"
#include "quorex/Export.h"
#include "quorex/Records.h"
#include "quorex/Api.h"
#include "quorex/PasswordDigest.h"
#include "quorex/UserFiles.h"
