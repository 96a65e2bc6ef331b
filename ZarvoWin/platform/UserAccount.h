#pragma once
#include <QString>

namespace Platform {

// The name of the account the process runs under (the password database's
// entry of its user), else the USER variable; empty when neither is known.
// Proposed as the first user's name.
QString LoginName();

} // namespace Platform
