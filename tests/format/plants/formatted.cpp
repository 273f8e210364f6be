// Already in the tree's style: the format check must pass it.
int planted(int a, int b)
{
  return a + b;
}
