#pragma once

namespace dictaro {

// Whether this build can make drafts: true when the speech engine is built in. Without it the
// draft's menu and its settings page are absent.
bool draftAvailable();

} // namespace dictaro
