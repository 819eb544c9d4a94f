// The look of the framework's extended controls. The system's dialogs use only standard
// controls, which Windows draws itself, so choosing a manager only records the choice.
#pragma once

#include "framework/CObject.h"

class CMFCVisualManager : public CObject {
    DECLARE_DYNAMIC(CMFCVisualManager)
public:
    static void SetDefaultManager(const CRuntimeClass* pRTIDefaultManager);
    static const CRuntimeClass* GetDefaultManagerClass();
};

class CMFCVisualManagerWindows : public CMFCVisualManager {
    DECLARE_DYNAMIC(CMFCVisualManagerWindows)
};
