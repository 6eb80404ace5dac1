#include "AboutDlg.h"

#include "resource.h"

namespace runner {

CAboutDlg::CAboutDlg() : Dialog(IDD_ABOUTBOX) {}

}  // namespace runner
