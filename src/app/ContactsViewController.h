#pragma once
// ContactsViewController: the tab with the contacts page ("/contacts.html") and its banner.
#include <memory>

#include "app/AshenmoorPageController.h"

class ContactsViewController : public AshenmoorPageController {
 public:
  static std::shared_ptr<ContactsViewController> create() {
    auto page = std::shared_ptr<ContactsViewController>(new ContactsViewController());
    registerLive(page);  // memory warnings reach it
    return page;
  }

  const std::shared_ptr<pf::WebView>& contactsView() const { return contactsView_; }
  void setContactsView(std::shared_ptr<pf::WebView> view) { contactsView_ = std::move(view); }  // outlet
  const std::shared_ptr<GADBannerView>& banner() const { return bannerView1_; }

 protected:
  std::shared_ptr<pf::WebView> pageWebView() const override { return contactsView_; }
  std::shared_ptr<GADBannerView>& bannerField() override { return bannerView1_; }

 private:
  ContactsViewController() : AshenmoorPageController("/contacts.html") {}

  std::shared_ptr<pf::WebView> contactsView_;
  std::shared_ptr<GADBannerView> bannerView1_;  // owned by the page
};
