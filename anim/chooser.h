// The behaviour chooser: what the mascot does by itself, by the hour.
#pragma once

void ChooseBehaviour();
