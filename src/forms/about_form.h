#pragma once
// The About box: the program's title, version and purpose, and where to read more.

#include "ui/form.h"

namespace qalto {

inline constexpr const char* kAppTitle = "Qalto";
inline constexpr const char* kHomePage = "https://qalto.example.org/";

class frmAbout : public Form {
 public:
  frmAbout();
  void cmdOK_Click() { Hide(); }

  Label lblTitle{"lblTitle"};
  Label lblVersion{"lblVersion"};
  Label lblDescription{"lblDescription"};
  Button cmdOK{"cmdOK"};
};

}  // namespace qalto
