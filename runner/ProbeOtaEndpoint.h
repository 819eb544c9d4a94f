// Whether the server answers on its local OTA endpoint with the WebSocket path.
#pragma once

#include "framework/AfxTypes.h"

// One GET of http://localhost:8003/tarvino/ota/; true when the first 255 bytes of the answer
// hold ":8000/tarvino/v1/", whatever the HTTP status. Never throws.
BOOL ProbeOtaEndpoint();
