#pragma once
// Language of the component set's own texts; the numbers match the program's Taal setting.

enum TkxLanguage { lgNederlands = 0, lgEnglish = 1, lgFrancais = 2, lgDeutsch = 3, lgEspagnol = 4 };
