// The application in a module that carries no dialog templates, so that its
// main window cannot be built.
#include "app/app.h"

int main() {
  App app;
  return app.Start();
}
