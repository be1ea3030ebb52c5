#pragma once

void SnowStep();
