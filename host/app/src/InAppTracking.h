// The host's "InAppTracking" service: it hears of every option a user
// changes, and when VELLUM_TRACKING names a file, appends each report to it
// as one JSON object per line: {"path": ..., "old": ..., "new": ...}.
#pragma once

// Makes the service known to the service provider for this process.
void RegisterInAppTracking();
