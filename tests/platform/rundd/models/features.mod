# A maximisation with a ranged row, a constant in the objective, a second objective (a free row), and fixed,
# free and negative columns; its optimum is unique in levels and marginals.
var x >= 0, <= 4;
var y >= 1;
var z = 2.5;
var w;
var v <= 0, >= -3;
maximize profit "profit with fixed charge": 3 * x + 2 * y + z - v + 10;
minimize waste: x + y + w;
s.t. capacity "ranged capacity": 2 <= x + y + v <= 7;
s.t. balance: w - x = 1;
s.t. mix: x - y <= 2;
end;
