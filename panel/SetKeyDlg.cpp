#include "SetKeyDlg.h"

#include "panel/QuellorDlg.h"
#include "panel/ServerRestart.h"
#include "runner/CommonExec1.h"
#include "runner/ServerCommands.h"

namespace {

// The vendor's site address is a placeholder of our own.
constexpr const char16_t* kHelpText =
    u"本程序当前使用了智普（https://llm.quellor.example）大语言模型提供的免费 Key。"
    u"自己动手申请智普免费 Key，只需两步：一、简单注册；二、登录后直接生成 Key,"
    u"然后将此 Key 拷贝到以下文本框，确定即可。";

// The key goes unescaped into a command line that cmd.exe runs elevated, then through wsl's
// argument rules, bash and yq: any of these characters would be read as syntax by one of them.
// '!' too: with delayed expansion switched on for cmd.exe, "!NAME!" is replaced.
constexpr const char16_t* kRefusedCharacters = u"\"'\\%&|<>^!";

// cmd.exe drops a command line longer than 8191 characters, and with it the write, while the
// restart and the polling would still run. No real key comes near this bound.
constexpr int kMaxKeyLength = 1000;

constexpr const char16_t* kRefusedKeyCaption = u"无效的 Key";
constexpr const char16_t* kRefusedKeyText =
    u"Key 中不能含有以下字符：双引号 \" 、单引号 ' 、反斜杠 \\ 、% & | < > ^ ! 以及控制字符"
    u"（如换行、制表符），长度不能超过 1000 个字符。\n请修改后再按“确定”。";

bool IsControl(char16_t unit) { return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F); }

bool IsAcceptableKey(const CString& key) {
    if (key.GetLength() > kMaxKeyLength) return false;
    for (int i = 0; i < key.GetLength(); ++i) {
        char16_t unit = key[i];
        if (IsControl(unit)) return false;
        for (const char16_t* refused = kRefusedCharacters; *refused; ++refused) {
            if (unit == *refused) return false;
        }
    }
    return true;
}

}  // namespace

IMPLEMENT_DYNAMIC(CSetKeyDlg, CDialogEx)

CSetKeyDlg::CSetKeyDlg(CWnd* pParent) : CDialogEx(IDD_SETKEY_DIALOG, pParent) {}

CSetKeyDlg::~CSetKeyDlg() = default;

BEGIN_MESSAGE_MAP(CSetKeyDlg, CDialogEx)
ON_BN_CLICKED(IDOK, &CSetKeyDlg::OnSetKeyOk)
ON_BN_CLICKED(IDCANCEL, &CSetKeyDlg::OnSetKeyCancel)
END_MESSAGE_MAP()

BOOL CSetKeyDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetDlgItemText(IDC_KEY_HELP, kHelpText);
    return TRUE;
}

void CSetKeyDlg::OnSetKeyOk() {
    CString key;
    GetDlgItemText(IDC_KEY_EDIT, key);
    key.Trim();

    // Refused before anything runs; the dialog stays open with the text as typed.
    if (!IsAcceptableKey(key)) {
        MessageBox(kRefusedKeyText, kRefusedKeyCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    CommonExec1(server::ConfigEditCommand(server::kEditApiKey, key), server::kEditTimeoutMs);
    RestartServerAndPoll();
    CDialogEx::OnOK();
}

void CSetKeyDlg::OnSetKeyCancel() { CDialogEx::OnCancel(); }

void CQuellorDlg::OnSetKey() {
    CSetKeyDlg dlg;
    dlg.DoModal();
}
