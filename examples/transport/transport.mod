# The classic transportation problem: ship cases from plants to markets at least cost. The demand of each
# market is the variable b_var, fixed at the parameter b: a database moves it to other values between solves
# (tvbUpdateModelSymbol on b), and the marginal of demand[j] is the cost of one more case at market j.
set I "canning plants";
set J "markets";
param a "capacity of plant i in cases" {I};
param b "demand at market j in cases" {J};
param d "distance in thousands of miles" {I, J};
param f "freight in dollars per case per thousand miles";
param c{i in I, j in J} := f * d[i, j] / 1000;

var x "shipment quantities in cases" {I, J} >= 0;
var b_var "demand at market j in cases" {j in J} = b[j];

minimize cost "total transportation costs in thousands of dollars": sum{i in I, j in J} c[i, j] * x[i, j];
s.t. supply "observe supply limit at plant i" {i in I}: sum{j in J} x[i, j] <= a[i];
s.t. demand "satisfy demand at market j" {j in J}: sum{i in I} x[i, j] >= b_var[j];

data;
set I := seattle san-diego;
set J := new-york chicago topeka;
param a := seattle 350  san-diego 600;
param b := new-york 325  chicago 300  topeka 275;
param d :    new-york  chicago  topeka :=
  seattle       2.5      1.7     1.8
  san-diego     2.5      1.8     1.4;
param f := 90;
end;
