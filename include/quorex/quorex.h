// The umbrella header of the exchange client library: every record struct, the error types, the API
// classes, the password digest, the naming of per-user files and the version.
#pragma once

#include "quorex/Errors.h"
#include "quorex/Export.h"
#include "quorex/Records.h"
#include "quorex/Api.h"
#include "quorex/LibraryResults.h"
#include "quorex/PasswordDigest.h"
#include "quorex/UserFiles.h"
#include "quorex/Version.h"
