// Entry of PaginaV1.exe: the running system's services, the Win32 windows and the viewer.
#include "platform/sys/win32/win32_services.h"
#include "platform/ui/application.h"
#include "platform/ui/win32/viewer_win32.h"
#include "platform/ui/win32/win32_backend.h"
#include "viewer/forms.h"
#include "viewer/viewer_app.h"

int main() {
  plat::Services services = plat::hostServices().services();
  ui::Application app(ui::win32::CreateBackend());
  ui::win32::RegisterViewerPeers(app.backend());
  app.setTitle("Pagina Viewer");
  std::string folder = services.system.programPath();
  folder = folder.substr(0, folder.rfind('\\'));
  viewer::Form1 form(app, {folder + "\\toolbar.bmp"});
  viewer::UiViewerHost host(app, form);
  viewer::ViewerApp viewer(services.files, services.shell, services.system, host);
  host.attach(viewer);
  app.createForm(form);
  viewer.load(ui::win32::CommandLineTail());
  app.run();
  return 0;
}
