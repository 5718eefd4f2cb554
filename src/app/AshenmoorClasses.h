#pragma once
// AshenmoorClasses: the classes the interface description names, registered with their
// outlets before the application starts.
class AshenmoorClasses {
 public:
  AshenmoorClasses() = delete;
  static void registerAll();
};
