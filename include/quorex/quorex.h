// The umbrella header of the exchange client library: it includes every public header, so that a
// program needs no other: the record structs, the error types, the API classes, the codes and
// reasons the library reports itself, record texts (GBK and UTF-8), the password digest, the
// routing of the library's diagnostics, the naming of per-user files and the version.
#pragma once

#include "quorex/Errors.h"
#include "quorex/Export.h"
#include "quorex/Records.h"
#include "quorex/Api.h"
#include "quorex/LibraryResults.h"
#include "quorex/Log.h"
#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"
#include "quorex/UserFiles.h"
#include "quorex/Version.h"
