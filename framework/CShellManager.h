// Support of shell list and tree controls. No dialog of the system has one, so the object
// only has to exist for the start-up's life.
#pragma once

class CShellManager {
public:
    CShellManager() = default;
    ~CShellManager() = default;
};
