#include "app/AshenmoorClasses.h"

#include "app/AmrViewController.h"
#include "app/AshenmoorAppDelegate.h"
#include "app/ContactsViewController.h"
#include "app/DontTouchViewControler.h"
#include "app/MoreViewController.h"
#include "platform/ui/ClassRegistry.h"

void AshenmoorClasses::registerAll() {
  pf::ApplicationDelegateRegistry::registerClass<AshenmoorAppDelegate>("AshenmoorAppDelegate")
      .outlet("window", &AshenmoorAppDelegate::setWindow)
      .outlet("tabBarController", &AshenmoorAppDelegate::setTabBarController);
  pf::ViewControllerRegistry::registerClass<AmrViewController>("AmrViewController")
      .outlet("amrView", &AmrViewController::setAmrView);
  pf::ViewControllerRegistry::registerClass<ContactsViewController>("ContactsViewController")
      .outlet("contactsView", &ContactsViewController::setContactsView);
  pf::ViewControllerRegistry::registerClass<MoreViewController>("MoreViewController")
      .outlet("moreView", &MoreViewController::setMoreView);
  pf::ViewControllerRegistry::registerClass<DontTouchViewControler>("DontTouchViewControler");
}
