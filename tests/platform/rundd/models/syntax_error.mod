# A model that refers to a variable it never declares, on line 4.
var x >= 0;
minimize cost: x;
s.t. limit: x + y >= 1;
end;
