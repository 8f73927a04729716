// The complete default database that every new project starts from: heroes, skills, items,
// enemies and troops, terrains, attributes, conditions, battle animations, the two tile sets,
// the vocabulary and the system settings, all in Spanish and all referring to the materials
// of the run-time package by name.
#pragma once

class TVudDataBase;

// Replaces the whole content of `db`. Deterministic.
void BuildDefaultDataBase(TVudDataBase& db);
