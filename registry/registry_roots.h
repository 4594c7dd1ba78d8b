#pragma once
// Registry objects whose root is fixed for their whole life.
#include "registry/registry.h"

class Class_HKCR : public _Registry {
 public:
  Class_HKCR();
  using _Registry::Key;
  HKEY Key(HKEY root) override;
};

class Class_HKCU : public _Registry {
 public:
  Class_HKCU();
  using _Registry::Key;
  HKEY Key(HKEY root) override;
};

class Class_HKLM : public _Registry {
 public:
  Class_HKLM();
  using _Registry::Key;
  HKEY Key(HKEY root) override;
};
