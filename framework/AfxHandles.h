// Between the framework's typed handles and the port's plain ones; framework sources only.
#pragma once

#include "platform/Platform.h"

template <typename H>
port::Handle ToPort(H handle) {
    return reinterpret_cast<port::Handle>(handle);
}
template <typename H>
H FromPort(port::Handle handle) {
    return reinterpret_cast<H>(handle);
}
