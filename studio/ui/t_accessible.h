// What screen readers are told about the painted components: the memory gauge
// reads as a progress bar with its value and range, and a panel keeps the
// name it was given while its text is its value and description.
#pragma once

class QWidget;

// Called at the end of a component's constructor: installs the components'
// interface factory once, and drops any plain interface made for the widget
// while it was still being built, so that the next query gets the component's.
void use_component_interface(QWidget* component);
