#include "anim/chooser.h"

void ChooseBehaviour() {}
