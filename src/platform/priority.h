// The scheduling priority of the program's own process, by the priority
// classes the settings window offers, mapped onto nice values.
#pragma once

namespace vorlo {

enum class PriorityClass { Normal, AboveNormal, High, Realtime };

// Nice value of a class: 0, -5, -10, -20.
int NiceValueOf(PriorityClass priority);

// Sets the nice value of every thread of the process (Linux keeps it per
// thread). The result is ignored: without the privilege the process keeps
// the priority it has.
void SetOwnPriority(PriorityClass priority);

}  // namespace vorlo
