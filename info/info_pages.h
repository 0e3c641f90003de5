// Composing the panel's pages on its canvas.
#pragma once

void RedrawInfo();
