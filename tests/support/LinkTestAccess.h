#pragma once

#include "link/ControllerLink.h"

// A test sets up the link state its scenario starts from (a page, a LinkState, a pending
// request) without going through the window; the program itself changes it only through the
// link's named operations.
struct LinkTestAccess {
  static LinkVariables& State(ControllerLink& link) { return link.vars; }
  // The block a scenario starts from, before the link has read or been given one.
  static ParameterBlock& Block(ControllerLink& link) { return link.parameterBlock; }
  // What the controller is taken to hold already.
  static ParameterBlock& Sent(ControllerLink& link) { return link.sentParameterBlock; }
};
