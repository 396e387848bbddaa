# Demand beyond every supply: no feasible shipment.
var x >= 0, <= 10;
var y >= 0, <= 5;
minimize cost: 2 * x + 3 * y;
s.t. demand: x + y >= 20;
end;
