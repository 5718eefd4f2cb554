#include "app/DontTouchViewControler.h"

#include "app/AshenmoorPageController.h"

bool DontTouchViewControler::shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) {
  return AshenmoorPageController::acceptsOrientation(o);
}
