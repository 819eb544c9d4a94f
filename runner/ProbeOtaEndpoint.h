// Whether the server answers on its local OTA endpoint with the WebSocket path.
#pragma once

#include "framework/AfxTypes.h"

// One GET of http://localhost:8003/tarvino/ota/; true when one read of at most 255 bytes of the
// answer, cut at its first zero byte, holds ":8000/tarvino/v1/", whatever the HTTP status.
// Never throws.
BOOL ProbeOtaEndpoint();
