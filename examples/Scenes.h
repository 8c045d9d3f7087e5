#pragma once
// The scenes of the order-entry demo, each self-contained.

// The fill: customer data copied into an order as its number is entered.
void RunFillScene();
// Control capture: an order form's edits and grid offer a lookup.
void RunCaptureScene();
// The order-entry form read from its form file, driven by a scripted clerk.
void RunEntryScene();
// Design time: the package in the designer and the order-entry form edited.
void RunDesignScene();
// The order-entry form in the terminal, or in a window when Windowed, for a
// person to drive.
void RunInteractive(bool windowed);
