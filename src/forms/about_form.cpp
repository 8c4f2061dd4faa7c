#include "forms/about_form.h"

#include <string>

namespace qalto {

frmAbout::frmAbout() : Form("frmAbout", std::string("About ") + kAppTitle) {
  lblTitle.SetCaption(kAppTitle);
  lblVersion.SetCaption("Version " + std::to_string(QALTO_VERSION_MAJOR) + "." +
                        std::to_string(QALTO_VERSION_MINOR) + "." +
                        std::to_string(QALTO_VERSION_PATCH));
  lblDescription.SetCaption(
      std::string(kAppTitle) +
      " simulates voltammetric curves of electrochemical experiments, fits them to measured "
      "data and separates overlapped peaks. Please read document Qalto.Doc.htm for help. \n" +
      kHomePage);
  cmdOK.SetCaption("OK");
  cmdOK.onClick = [this] { cmdOK_Click(); };
  Add(lblTitle);
  Add(lblVersion);
  Add(lblDescription);
  Add(cmdOK);
}

}  // namespace qalto
