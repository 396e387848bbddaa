# Profit grows without limit along y.
var x >= 0;
var y >= 0;
maximize profit: x + 2 * y;
s.t. mix: x - y <= 4;
end;
