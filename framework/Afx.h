// The one header of the dialog framework that the system's code includes.
#pragma once

#include "framework/AfxFunctions.h"
#include "framework/AfxTypes.h"
#include "framework/CCmdTarget.h"
#include "framework/CDC.h"
#include "framework/CDialog.h"
#include "framework/CDialogEx.h"
#include "framework/CMFCVisualManager.h"
#include "framework/CMenu.h"
#include "framework/CObject.h"
#include "framework/CShellManager.h"
#include "framework/CString.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
